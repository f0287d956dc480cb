// The program's entry, run as the program runs it: it must start whatever
// locale the environment names, show the window with its channel table, and
// give the event loop's result as the process exit code.
//
// usage: tst_entry <expected exit code> [<locale the global C++ locale must have>]
// The test closes the window (expected code 0) or ends the event loop with
// the expected code once the window is up.
#include "Application.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <locale>

namespace {

int expectedCode = 0;
bool windowWasUp = false;

// Runs inside the program's own application object once it exists.
void closeWhenShown()
{
    QTimer::singleShot(0, [] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *table = widget->findChild<QTableWidget *>(QStringLiteral("frequencyTable"));
            if (widget->isVisible() && table && table->rowCount() == 100)
                windowWasUp = true;
        }
        if (expectedCode == 0) {
            for (QWidget *widget : QApplication::topLevelWidgets())
                widget->close();
        } else {
            QCoreApplication::exit(expectedCode);
        }
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(closeWhenShown)

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tst_entry <expected exit code> [<expected locale>]\n");
        return 2;
    }
    expectedCode = std::atoi(argv[1]);
    const std::string expectedLocale = argc > 2 ? argv[2] : "";
    TestEnvironment environment;

    int programArgc = 1;
    const int result = runApplication(programArgc, argv);

    bool ok = true;
    if (result != expectedCode) {
        std::fprintf(stderr, "FAIL: exit code %d, expected %d\n", result, expectedCode);
        ok = false;
    }
    if (!windowWasUp) {
        std::fprintf(stderr, "FAIL: the window with its 100-row table was not shown\n");
        ok = false;
    }
    if (!expectedLocale.empty() && std::locale().name() != expectedLocale) {
        std::fprintf(stderr, "FAIL: global locale %s, expected %s\n", std::locale().name().c_str(),
                     expectedLocale.c_str());
        ok = false;
    }
    if (ok)
        std::printf("PASS: exit code %d, locale %s\n", result, std::locale().name().c_str());
    return ok ? 0 : 1;
}
