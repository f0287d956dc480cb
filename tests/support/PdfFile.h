#pragma once

#include "ProgramRun.h"

#include <QRegularExpression>
#include <QStringList>
#include <QVector>

// What poppler's tools (poppler-utils, installed by scripts/setup.sh) read
// from a PDF file, as any PDF reader would: the text of each page in the
// order it was written, the page size and which fonts are not embedded.
namespace PdfFile {

// What the tool printed; a null text when it failed.
inline QString toolOutput(const QString &tool, const QStringList &arguments)
{
    const ProgramRun run = runProgram(tool, arguments, {});
    return run.exitCode == 0 ? run.output : QString();
}

// The text lines of each page; empty when the file could not be read.
inline QVector<QStringList> pages(const QString &fileName)
{
    const QString text = toolOutput(QStringLiteral("pdftotext"),
                                    {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                     fileName, QStringLiteral("-")});
    QVector<QStringList> result;
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

// pdffonts' lines of the fonts not embedded; "(no fonts)" for a file with
// none (text drawn as shapes). A font's line ends in its emb, sub and uni
// columns and its object's number and generation.
inline QStringList fontsNotEmbedded(const QString &fileName)
{
    const QRegularExpression columns(QStringLiteral(" (yes|no) +(yes|no) +(yes|no) +[0-9]+ +[0-9]+$"));
    QStringList notEmbedded;
    int fonts = 0;
    for (const QString &line : toolOutput(QStringLiteral("pdffonts"), {fileName}).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = columns.match(line);
        fonts += match.hasMatch() ? 1 : 0;
        if (match.hasMatch() && match.captured(1) != QLatin1String("yes"))
            notEmbedded << line;
    }
    return fonts == 0 ? QStringList{QStringLiteral("(no fonts)")} : notEmbedded;
}

} // namespace PdfFile
