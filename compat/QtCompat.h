#pragma once

// The few calls whose meaning differs between Qt 5.15 and Qt 6, each behind
// one name that behaves the same under both, so that the rest of the code is
// written once for either.
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QtGlobal>

namespace QtCompat {

// The text of UTF-8 bytes up to their first zero byte. Qt 5's
// QString::fromUtf8(QByteArray) stops there; Qt 6's decodes the zero bytes
// and what follows them as well.
inline QString utf8UpToZero(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData(), int(qstrnlen(bytes.constData(), size_t(bytes.size()))));
}

// Settings files read and written as UTF-8. Qt 6 always does so; Qt 5 would
// write characters beyond ASCII as \x escapes, which Qt 6 reads, but a file
// Qt 6 wrote would then read back garbled under Qt 5.
inline void useUtf8(QSettings &settings)
{
#if QT_VERSION_MAJOR < 6
    settings.setIniCodec("UTF-8");
#else
    Q_UNUSED(settings)
#endif
}

} // namespace QtCompat

// The queries of QIconEngine are const in Qt 5 and not in Qt 6; an engine
// declares its overrides with this in place of the qualifier.
#if QT_VERSION_MAJOR < 6
#define VKR_ICON_ENGINE_CONST const
#else
#define VKR_ICON_ENGINE_CONST
#endif
