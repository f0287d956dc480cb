#pragma once

#include <QDialog>

namespace Ui {
class ImportReportDialog;
}

// The box after an import: what came of it in one line, and every row the
// import skipped or left out, with its file and record, to scroll through.
class ImportReportDialog : public QDialog
{
    Q_OBJECT
public:
    ImportReportDialog(const QString &summary, const QStringList &messages, QWidget *parent);
    ~ImportReportDialog() override;

private:
    Ui::ImportReportDialog *ui;
};
