#pragma once

#include <QLabel>
#include <QTest>
#include <QWidget>

// Waits until the scan the window starts 100 ms after it is built has run
// to its end: the device label is styled by every scan, and "Auto" works
// again once one has ended. Its status message would otherwise land in the
// middle of whatever the test does next.
inline bool waitForFirstScan(const QWidget &window, int timeout = 30000)
{
    const auto *label = window.findChild<QLabel *>(QStringLiteral("VKRInfo"));
    const auto *autoButton = window.findChild<QWidget *>(QStringLiteral("autoButton"));
    return label && autoButton && QTest::qWaitFor([label, autoButton] {
               return !label->styleSheet().isEmpty() && autoButton->isEnabled()
                   && label->text() != QLatin1String("connecting...");
           }, timeout);
}
