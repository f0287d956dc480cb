// Open, save and save as of channel CSV files.
// (Filled in by the channel file work; the window only needs the slots to exist.)
#include "MainWindow.h"
#include "ui_MainWindow.h"

void MainWindow::open()
{
}

void MainWindow::save()
{
}

bool MainWindow::saveAs()
{
    return true;
}

void MainWindow::dirEntered(QString)
{
}

bool MainWindow::writeCsvFile()
{
    return false;
}

void MainWindow::fillFrequencyTable()
{
}
