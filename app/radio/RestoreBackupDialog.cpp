#include "RestoreBackupDialog.h"
#include "ui_RestoreBackupDialog.h"

#include <QPushButton>
#include <QStyle>

namespace {
constexpr int shownRows = 10; // backups seen without scrolling
} // namespace

RestoreBackupDialog::RestoreBackupDialog(const QVector<BackupStore::Entry> &backups, const QString &folder,
                                         QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::RestoreBackupDialog)
    , backups(backups)
{
    ui->setupUi(this);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Restore"));
    for (const BackupStore::Entry &backup : backups)
        ui->backupList->addItem(describe(backup));
    ui->folderLabel->setText(backups.isEmpty() ? tr("No backups are kept in %1 yet.").arg(folder)
                                               : tr("Kept in %1").arg(folder));
    ui->backupList->setCurrentRow(0);
    // Room for the longest entry and a screenful of them, in the user's font.
    int widest = 0;
    for (int row = 0; row < ui->backupList->count(); ++row)
        widest = qMax(widest, ui->backupList->fontMetrics().horizontalAdvance(ui->backupList->item(row)->text()));
    const int frame = 2 * ui->backupList->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent)
        + ui->backupList->fontMetrics().averageCharWidth() * 2;
    ui->backupList->setMinimumWidth(widest + frame);
    ui->backupList->setMinimumHeight(ui->backupList->fontMetrics().height() * shownRows);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!backups.isEmpty());
    connect(ui->backupList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

RestoreBackupDialog::~RestoreBackupDialog()
{
    delete ui;
}

BackupStore::Entry RestoreBackupDialog::chosen() const
{
    return backups.value(ui->backupList->currentRow());
}

QString RestoreBackupDialog::describe(const BackupStore::Entry &backup)
{
    QString text = tr("%1, %2, %n channel(s)", nullptr, backup.usedChannels).arg(backup.shownTime(), backup.modelLabel);
    if (!backup.portTag.isEmpty())
        text += tr(", on %1").arg(backup.portTag);
    switch (backup.purpose) {
    case BackupPurpose::Write:
        return text + tr(", before a write");
    case BackupPurpose::Restore:
        return text + tr(", before a restore");
    case BackupPurpose::Read:
        return text + tr(", read");
    case BackupPurpose::Diff:
        return text + tr(", compared");
    case BackupPurpose::Unknown:
        break;
    }
    return text;
}
