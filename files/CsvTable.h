#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The rows of the last channel CSV file read, as 8-bit text fields.
class CsvTable
{
public:
    bool read(const QString &fileName);
    unsigned rowCount() const;
    QByteArray cell(unsigned row, unsigned column) const;

    static QList<QByteArray> split(const QByteArray &line, const QByteArray &separators);
    static QByteArray unquote(const QByteArray &field);
    static void ansiToUtf8(QByteArray &line);

private:
    QList<QList<QByteArray>> rows;
};
