#pragma once

#include <QLabel>
#include <QTest>
#include <QWidget>

// Waits until the scan the window starts 100 ms after it is built has run
// to its end: the device label is styled by every scan and says
// "connecting..." only while one runs. Its status message would otherwise
// land in the middle of whatever the test does next.
inline bool waitForFirstScan(const QWidget &window, int timeout = 30000)
{
    const auto *label = window.findChild<QLabel *>(QStringLiteral("VKRInfo"));
    return label && QTest::qWaitFor([label] {
               return !label->styleSheet().isEmpty() && label->text() != QLatin1String("connecting...");
           }, timeout);
}
