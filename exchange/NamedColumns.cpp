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

QString recordMessage(const QString &fileName, qint64 recordNumber, const QString &what)
{
    return QStringLiteral("%1, record %2: %3").arg(fileName).arg(recordNumber).arg(what);
}

ImportOutcome readNamedColumns(QIODevice &device, const QString &fileName, const ColumnNames &names,
                               const ColumnRecordHandler &handler, QStringList &messages)
{
    const QByteArrayList wanted = names.required + names.optional;
    QVector<int> columns;
    QVector<QByteArray> fields(wanted.size());
    bool headerComplete = false;
    // An empty file has a header without any column.
    const auto checkHeader = [&](const CsvRecord *header) {
        headerComplete = true;
        for (int k = 0; k < wanted.size(); ++k) {
            columns.append(header ? findColumn(*header, wanted.at(k)) : -1);
            if (columns.last() < 0 && k < names.required.size()) {
                messages << QStringLiteral("%1: no column \"%2\"").arg(fileName, QString::fromUtf8(wanted.at(k)));
                headerComplete = false;
            }
        }
    };
    bool headerRead = false;
    const CsvReader::Result read = CsvReader::read(device, [&](const CsvRecord &record) {
        if (!headerRead) {
            headerRead = true;
            checkHeader(&record);
            return headerComplete;
        }
        for (int k = 0; k < wanted.size(); ++k) {
            if (k < names.required.size() && columns.at(k) >= record.size()) {
                messages << recordMessage(fileName, record.number(),
                                          QStringLiteral("no field \"%1\", skipped").arg(QString::fromUtf8(wanted.at(k))));
                return true;
            }
            fields[k] = record.field(columns.at(k));
        }
        handler(record.number(), fields);
        return true;
    });
    if (read == CsvReader::Result::ReadFailed) {
        messages << QStringLiteral("cannot read %1: %2").arg(fileName, device.errorString());
        return ImportOutcome::FileNotUsable;
    }
    if (!headerRead)
        checkHeader(nullptr);
    return headerComplete ? ImportOutcome::Done : ImportOutcome::DataNotRight;
}
