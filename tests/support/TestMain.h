#pragma once

#include "ModalGuard.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QTest>

// Like QTEST_MAIN, but headless and with the user's settings store (and
// the serial port list) redirected, so no test touches the real ones; a
// modal dialog no test expects fails the test instead of hanging it.
#define VKR_TEST_MAIN(TestClass)                                   \
    int main(int argc, char *argv[])                               \
    {                                                              \
        TestEnvironment environment;                               \
        QApplication app(argc, argv);                              \
        /* a resolution asked for is kept */                      \
        app.setAttribute(Qt::AA_Use96Dpi, !qEnvironmentVariableIsSet("QT_FONT_DPI")); \
        ModalGuard::start();                                       \
        TestClass test;                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                 \
        return QTest::qExec(&test, argc, argv);                    \
    }
