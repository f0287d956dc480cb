#pragma once

#include "ModalAnswerer.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

// Drives the program's file dialogs as a user does: types a name into the
// name field and presses the accept button, presses Cancel, or double-clicks
// a folder in the list. Needs the framework's own (non-native) dialogs:
// call useWidgetFileDialogs() before the first dialog opens.
namespace FileDialogDriver {

inline void useWidgetFileDialogs()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
}

// What a dialog showed when it was answered.
struct Seen {
    bool shown = false;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget *parent = nullptr;
    QString directory;
    QString defaultSuffix;
    QStringList nameFilters;
    QString enteredFolder; // the folder the dialog showed after a double-click
};

inline void record(QFileDialog *dialog, Seen &seen)
{
    seen.shown = true;
    seen.acceptMode = dialog->acceptMode();
    seen.fileMode = dialog->fileMode();
    seen.modality = dialog->windowModality();
    seen.parent = dialog->parentWidget();
    seen.directory = dialog->directory().absolutePath();
    seen.defaultSuffix = dialog->defaultSuffix();
    seen.nameFilters = dialog->nameFilters();
}

inline void pressButton(QFileDialog *dialog, QDialogButtonBox::StandardButton which)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QPushButton *button = buttons ? buttons->button(which) : nullptr;
    if (button && button->isEnabled())
        QTest::mouseClick(button, Qt::LeftButton);
    else
        dialog->reject(); // never leave the test hanging in the dialog
}

inline void chooseFile(QFileDialog *dialog, const QString &fileName)
{
    auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!nameField) {
        dialog->reject();
        return;
    }
    nameField->setText(fileName);
    pressButton(dialog, dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                        : QDialogButtonBox::Open);
}

inline void cancel(QFileDialog *dialog)
{
    pressButton(dialog, QDialogButtonBox::Cancel);
}

// Double-clicks the named folder in the dialog's list, once the list has
// loaded it. False when the folder never showed up.
inline bool doubleClickFolder(QFileDialog *dialog, const QString &folderPath)
{
    auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
    auto *model = list ? qobject_cast<QFileSystemModel *>(list->model()) : nullptr;
    if (!model)
        return false;
    QModelIndex index;
    const bool listed = QTest::qWaitFor([&] {
        index = model->index(folderPath);
        return index.isValid() && list->visualRect(index).isValid();
    }, 10000);
    if (!listed)
        return false;
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

// Answers the next file dialog by choosing `fileName`.
inline std::unique_ptr<ModalAnswerer<QFileDialog>> answerWithFile(const QString &fileName, Seen *seen = nullptr)
{
    return std::make_unique<ModalAnswerer<QFileDialog>>([fileName, seen](QFileDialog *dialog) {
        if (seen)
            record(dialog, *seen);
        chooseFile(dialog, fileName);
    });
}

// Answers the next file dialog with Cancel.
inline std::unique_ptr<ModalAnswerer<QFileDialog>> answerWithCancel(Seen *seen = nullptr)
{
    return std::make_unique<ModalAnswerer<QFileDialog>>([seen](QFileDialog *dialog) {
        if (seen)
            record(dialog, *seen);
        cancel(dialog);
    });
}

// Answers the next file dialog by entering a folder, then cancelling.
inline std::unique_ptr<ModalAnswerer<QFileDialog>> answerByEnteringFolder(const QString &folderPath, Seen *seen)
{
    return std::make_unique<ModalAnswerer<QFileDialog>>([folderPath, seen](QFileDialog *dialog) {
        record(dialog, *seen);
        if (doubleClickFolder(dialog, folderPath))
            seen->enteredFolder = dialog->directory().absolutePath();
        cancel(dialog);
    });
}

// What a message box showed before its OK button was pressed.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

// Answers the next message box with an OK button.
inline std::unique_ptr<ModalAnswerer<QMessageBox>> answerBoxWithOk(SeenBox *seen)
{
    return std::make_unique<ModalAnswerer<QMessageBox>>(
        [seen](QMessageBox *box) {
            seen->shown = true;
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            seen->buttons = box->standardButtons();
            seen->parent = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        },
        15000, [](QMessageBox *box) { return box->button(QMessageBox::Ok) != nullptr; });
}

// Answers the question before unsaved changes are set aside with `button`
// (Save, Discard or Cancel); `asked`, when given, notes that it came.
inline std::unique_ptr<ModalAnswerer<QMessageBox>> answerSaveChanges(QMessageBox::StandardButton button,
                                                                    bool *asked = nullptr)
{
    return std::make_unique<ModalAnswerer<QMessageBox>>(
        [button, asked](QMessageBox *box) {
            if (asked)
                *asked = true;
            box->button(button)->click();
        },
        15000, [](QMessageBox *box) { return box->text() == QLatin1String("Save changes?"); });
}

} // namespace FileDialogDriver
