#pragma once

#include <QDialog>

namespace Ui {
class AboutDialog;
}

// The application-modal box with the tool's name, version, maker and logo.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent);
    ~AboutDialog() override;

private:
    Ui::AboutDialog *ui;
};
