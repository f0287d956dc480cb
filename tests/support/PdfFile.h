#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>

// What poppler's tools (poppler-utils, installed by scripts/setup.sh) read
// from a PDF file, as any PDF reader would: the text of each page in the
// order it was written, the page size and which fonts are not embedded.
namespace PdfFile {

// The standard output of a tool, or a null text when it did not run or
// failed.
inline QString toolOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text lines of each page; empty when the file could not be read.
inline QVector<QStringList> pages(const QString &fileName)
{
    const QString text = toolOutput(QStringLiteral("pdftotext"),
                                    {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                     fileName, QStringLiteral("-")});
    QVector<QStringList> result;
    if (text.isNull())
        return result;
    QStringList pageTexts = text.split(QLatin1Char('\f')); // every page ends in a form feed
    pageTexts.removeLast();
    for (const QString &page : pageTexts)
        result.append(page.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    return result;
}

// The first page's size in whole points, "420 x 595" for A5 portrait.
inline QString pageSize(const QString &fileName)
{
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {fileName});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts"),
                           QRegularExpression::MultilineOption)
            .match(info);
    if (!match.hasMatch())
        return QStringLiteral("(no page size)");
    return QStringLiteral("%1 x %2").arg(qRound(match.captured(1).toDouble())).arg(qRound(match.captured(2).toDouble()));
}

// The names of the fonts that are not embedded, and "(no fonts)" when the
// file has none (text drawn as shapes); empty when every font is embedded.
inline QStringList fontsNotEmbedded(const QString &fileName)
{
    const QStringList lines = toolOutput(QStringLiteral("pdffonts"), {fileName}).split(QLatin1Char('\n'));
    // A line of dashes under the header marks the columns; "emb" is the fourth.
    const int dashes = int(lines.indexOf(QRegularExpression(QStringLiteral("^-+( -+)+$"))));
    if (dashes < 1)
        return {QStringLiteral("(pdffonts did not run)")};
    QVector<int> starts{0};
    for (int i = 0; i < lines[dashes].size(); ++i) {
        if (lines[dashes][i] == QLatin1Char(' '))
            starts.append(i + 1);
    }
    QStringList notEmbedded;
    int fonts = 0;
    for (int i = dashes + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        ++fonts;
        if (lines[i].mid(starts.value(3), 3) != QLatin1String("yes"))
            notEmbedded.append(lines[i].left(starts.value(1)).trimmed());
    }
    if (fonts == 0)
        return {QStringLiteral("(no fonts)")};
    return notEmbedded;
}

} // namespace PdfFile
