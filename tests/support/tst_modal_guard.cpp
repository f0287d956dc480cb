// A message box no test waits for fails the test at once (CTest checks the
// failure message) instead of hanging it.
#include "TestMain.h"

#include <QMessageBox>
#include <QtTest>

class ModalGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void unexpectedBoxFailsTheTest()
    {
        QMessageBox::warning(nullptr, QStringLiteral("Invalid data"), QStringLiteral("nobody answers this"));
    }
};

VKR_TEST_MAIN(ModalGuardTest)
#include "tst_modal_guard.moc"
