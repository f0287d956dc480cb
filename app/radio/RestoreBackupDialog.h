#pragma once

#include "BackupStore.h"

#include <QDialog>

namespace Ui {
class RestoreBackupDialog;
}

// Lists the backups kept of radios' memories, newest first, with model,
// time and the channels each holds, and lets the user choose one.
class RestoreBackupDialog : public QDialog
{
    Q_OBJECT
public:
    RestoreBackupDialog(const QVector<BackupStore::Entry> &backups, const QString &folder, QWidget *parent);
    ~RestoreBackupDialog() override;

    // The backup chosen; valid once the dialog was accepted.
    BackupStore::Entry chosen() const;

    // "2026-12-07 14:30:05, VKR627A, 7 channels": how a backup is named to the user.
    static QString describe(const BackupStore::Entry &backup);

private:
    Ui::RestoreBackupDialog *ui;
    QVector<BackupStore::Entry> backups;
};
