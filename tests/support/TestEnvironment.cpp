#include "TestEnvironment.h"

#include <QSettings>

#include <cstdlib>

namespace {
QString currentSettingsFolder;
}

TestEnvironment::TestEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("VKR_SERIAL_PORTS"))
        qputenv("VKR_SERIAL_PORTS", "");
    // Airfield data comes from a test's own server, never from outside: a
    // test that sets none gets an address where nothing answers.
    if (!qEnvironmentVariableIsSet("VKR_OURAIRPORTS_URL"))
        qputenv("VKR_OURAIRPORTS_URL", "http://127.0.0.1:9/");
    if (!settingsDir.isValid())
        std::abort();
    currentSettingsFolder = settingsDir.path();
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    // Backups of the radios the tests read go there too.
    qputenv("XDG_DATA_HOME", (settingsDir.path() + QStringLiteral("/data")).toLocal8Bit());
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settingsDir.path());
}

QString TestEnvironment::settingsFolder()
{
    return currentSettingsFolder;
}

// Qt's offscreen platform never frees its screen object; that is Qt's, not
// ours, and would otherwise fail every window test under LeakSanitizer.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libqoffscreen.so\n"
           "leak:QScreen::QScreen\n"
           "leak:QPlatformScreen::QPlatformScreen\n"
           "leak:QWindowSystemInterface::handleScreenAdded\n";
}
