// Reading and writing the radio's channel memory.
// (Filled in by the transfer work; the window only needs the slots to exist.)
#include "MainWindow.h"
#include "ui_MainWindow.h"

void MainWindow::loadFreqsFromVkr()
{
}

void MainWindow::saveFreqsToVkr()
{
}

bool MainWindow::allChannelsValid()
{
    return false;
}
