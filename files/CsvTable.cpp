#include "CsvTable.h"

// Placeholder until the channel file reader is built.
bool CsvTable::read(const QString &)
{
    rows.clear();
    return false;
}

unsigned CsvTable::rowCount() const
{
    return static_cast<unsigned>(rows.size());
}

QByteArray CsvTable::cell(unsigned, unsigned) const
{
    return {};
}

QList<QByteArray> CsvTable::split(const QByteArray &line, const QByteArray &)
{
    return {line};
}

QByteArray CsvTable::unquote(const QByteArray &field)
{
    return field;
}

void CsvTable::ansiToUtf8(QByteArray &)
{
}
