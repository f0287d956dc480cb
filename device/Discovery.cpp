// Finding and identifying the radio on the machine's serial ports.
// (Filled in by the discovery work; the window only needs the slots to exist.)
#include "MainWindow.h"
#include "ui_MainWindow.h"

void MainWindow::searchVKR()
{
}

void MainWindow::comPortChanged(int)
{
}

void MainWindow::fillComPortComboBox()
{
}

bool MainWindow::probePort(const QString &)
{
    return false;
}

void MainWindow::collectReply(QByteArray &, int)
{
}

char MainWindow::frameChecksum(const QByteArray &, int)
{
    return 0;
}
