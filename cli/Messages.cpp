#include "Messages.h"

#include <cstring>

QString countOf(qint64 count, const char *singular, const char *plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
