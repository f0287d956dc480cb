#include "NamedColumns.h"

#include "CsvReader.h"

#include <QIODevice>

int findColumn(const CsvRecord &header, const QByteArray &name)
{
    const QByteArray wanted = name.toLower();
    for (int column = 0; column < header.size(); ++column) {
        if (header.field(column).trimmed().toLower() == wanted)
            return column;
    }
    return -1;
}

QByteArray NamedFields::at(int k) const
{
    const std::string_view bytes = peek(k);
    return QByteArray(bytes.data(), int(bytes.size())); // null for a column the file lacks
}

std::string_view NamedFields::peek(int k) const
{
    const int column = columns.at(k);
    return column < 0 ? std::string_view() : record.peek(column);
}

QString recordMessage(const QString &fileName, qint64 recordNumber, const QString &what)
{
    return QStringLiteral("%1, record %2: %3").arg(fileName).arg(recordNumber).arg(what);
}

namespace {

// Spreadsheets set to a European locale write CSV with ";" between fields:
// such a header is one field holding all the names.
QString separatorHint(const CsvRecord *header, const QByteArrayList &missing)
{
    if (!header || header->size() != 1 || !header->field(0).contains(localeSeparator))
        return QString();
    const QByteArrayList names = header->field(0).toLower().split(localeSeparator);
    for (const QByteArray &name : missing) {
        for (const QByteArray &given : names) {
            if (given.trimmed() == name.toLower())
                return QStringLiteral(" (its fields are separated by \";\", not by \",\")");
        }
    }
    return QString();
}

QString quotedNames(const QByteArrayList &names)
{
    QStringList quoted;
    for (const QByteArray &name : names)
        quoted << QLatin1Char('"') + QString::fromUtf8(name) + QLatin1Char('"');
    return quoted.join(QStringLiteral(", "));
}

} // namespace

ImportOutcome readNamedColumns(QIODevice &device, const QString &fileName, const ColumnNames &names,
                               const ColumnRecordHandler &handler, QStringList &messages)
{
    const QByteArrayList wanted = names.required + names.optional;
    QVector<int> columns;
    int headerSize = 0;
    bool headerComplete = false;
    // An empty file has a header without any column.
    const auto checkHeader = [&](const CsvRecord *header) {
        headerSize = header ? header->size() : 0;
        QByteArrayList missing;
        for (int k = 0; k < wanted.size(); ++k) {
            columns.append(header ? findColumn(*header, wanted.at(k)) : -1);
            if (columns.last() < 0 && k < names.required.size())
                missing << wanted.at(k);
        }
        headerComplete = missing.isEmpty();
        if (!headerComplete)
            messages << QStringLiteral("%1: no %2 %3%4")
                            .arg(fileName, missing.size() == 1 ? QStringLiteral("column") : QStringLiteral("columns"),
                                 quotedNames(missing), separatorHint(header, missing));
    };
    bool headerRead = false;
    bool lastEndsInLineEnd = true;
    const CsvReader::Result read = CsvReader::read(device, [&](const CsvRecord &record) {
        if (!headerRead) {
            headerRead = true;
            checkHeader(&record);
            return headerComplete;
        }
        lastEndsInLineEnd = record.endsInLineEnd();
        if (names.wholeRecordsOnly && record.size() < headerSize) {
            messages << recordMessage(fileName, record.number(),
                                      QStringLiteral("%1 of the header's %2 fields, skipped").arg(record.size()).arg(headerSize));
            return true;
        }
        // A file cut inside the last record's last field leaves a shorter
        // value there ("122.9" of "122.925").
        if (names.wholeRecordsOnly && !lastEndsInLineEnd && columns.contains(record.size() - 1)) {
            messages << recordMessage(fileName, record.number(), QStringLiteral("no line end, the record may be cut short, skipped"));
            return true;
        }
        for (int k = 0; k < names.required.size(); ++k) {
            if (columns.at(k) >= record.size()) {
                messages << recordMessage(fileName, record.number(),
                                          QStringLiteral("no field \"%1\", skipped").arg(QString::fromUtf8(wanted.at(k))));
                return true;
            }
        }
        handler(record.number(), NamedFields(record, columns));
        return true;
    });
    if (read == CsvReader::Result::ReadFailed) {
        messages << QStringLiteral("cannot read %1: %2").arg(fileName, device.errorString());
        return ImportOutcome::FileNotUsable;
    }
    if (!headerRead)
        checkHeader(nullptr);
    if (headerComplete && !lastEndsInLineEnd)
        messages << QStringLiteral("%1: the last record has no line end; the file may be cut short").arg(fileName);
    return headerComplete ? ImportOutcome::Done : ImportOutcome::DataNotRight;
}
