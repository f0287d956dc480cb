#pragma once

#include <QDialog>

namespace Ui {
class ManualDialog;
}

// The short manual: the README's section of that name, as the program
// carries it, in a window of its own that may stay open beside the main
// window.
class ManualDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ManualDialog(QWidget *parent);
    ~ManualDialog() override;

private:
    Ui::ManualDialog *ui;
};
