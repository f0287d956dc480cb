// File > Restore backup...: one of the backups kept of radios' memories put
// back into the connected radio with the safe write.
#include "MainWindow.h"

#include "RadioModels.h"
#include "RestoreBackupDialog.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>

void MainWindow::restoreBackup()
{
    if (activity != Activity::Idle)
        return;
    const BackupStore store;
    // The backups are listed from the status bar's link too, where no
    // radio may be connected: they go back only into one.
    if (!connectedModel) {
        showStatusMessage(tr("Connect the radio to put a backup back; the backups are kept in %1")
                              .arg(QDir::toNativeSeparators(store.folder())));
        return;
    }
    RestoreBackupDialog dialog(store.list(), store.folder(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The radio may have gone, or another come, while the list was open:
    // what the window knows of it is looked at again now.
    if (!connectedModel) {
        showStatusMessage(tr("No radio connected; nothing was written"));
        return;
    }
    // The table shows the backup once it is back in the radio.
    if (!maySetTableAside())
        return;
    const BackupStore::Entry backup = dialog.chosen();
    QMessageBox confirm(QMessageBox::Question, QStringLiteral("Restore backup"),
                        QStringLiteral("Write the backup of %1 to the %2 on %3?")
                            .arg(RestoreBackupDialog::describe(backup), QLatin1String(connectedModel->label),
                                 connectedPort),
                        QMessageBox::Cancel, this);
    confirm.setInformativeText(
        QStringLiteral("The radio's present memory is backed up first. The table then shows the backup.\n%1")
            .arg(backup.path));
    QPushButton *write = confirm.addButton(QStringLiteral("Write backup"), QMessageBox::AcceptRole);
    confirm.exec();
    if (confirm.clickedButton() != write)
        return;
    if (!connectedModel) {
        showStatusMessage(tr("No radio connected; nothing was written"));
        return;
    }
    startWrite(Channels(), {backup.path, true, {}});
}
