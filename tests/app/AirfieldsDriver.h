#pragma once

#include "AirfieldData.h"
#include "AirfieldsDialog.h"
#include "FileContent.h"
#include "KeyTyping.h"
#include "MainWindow.h"
#include "ModalAnswerer.h"
#include "ProgramFolders.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <functional>

// The Airfields dialog as a user meets it: opened from the keyboard,
// a place typed, its preview and messages read off the widgets.
namespace AirfieldsDriver {

// EDDF and, due north or south of it, the others: 0.05 degrees of
// latitude are 5.6 km (3.0 NM), 0.1 are 11 km (6.0 NM), 0.2 are 22 km.
inline const QByteArray airports = "ident,type,name,latitude_deg,longitude_deg\n"
                            "EDDF,large_airport,Frankfurt,50.0,8.5\n"
                            "EDFZ,closed,Mainz-Finthen,50.05,8.5\n"
                            "EDHX,heliport,Klinikum,49.95,8.5\n"
                            "EDFE,small_airport,Egelsbach,50.1,8.5\n"
                            "EDFM,medium_airport,Mannheim,49.8,8.5\n";
inline const QByteArray frequencies = "airport_ident,type,description,frequency_mhz\n"
                               "EDDF,TWR,TOWER,119.9\nEDFZ,TWR,TOWER,122.0\nEDHX,TWR,TOWER,123.05\n"
                               "EDFE,TWR,TOWER,118.275\nEDFM,TWR,TOWER,121.1\nEDFM,UHF,MIL,243\n";

// Data in the program's data folder as a download leaves it, on `date`.
inline bool keepData(const QDate &date, const QByteArray &airports = AirfieldsDriver::airports,
                     const QByteArray &frequencies = AirfieldsDriver::frequencies)
{
    const AirfieldData data(ProgramFolders::dataFolder());
    return QDir().mkpath(data.folder()) && writeContent(data.airportsFile(), airports)
        && writeContent(data.frequenciesFile(), frequencies) && data.noteDownloaded(QDateTime(date, QTime(12, 0)));
}

inline void forgetData()
{
    QDir(AirfieldData(ProgramFolders::dataFolder()).folder()).removeRecursively();
}

// What the dialog showed.
struct Seen {
    bool shown = false;
    QString focus;          // the widget with the focus when it opened
    QString data;           // "Airfield data of 2026-12-08"
    QString room;           // "The VKR627S holds 20 channels; ..."
    QStringList preview;    // "channel|name|frequency|airfield|distance|bearing"
    QString report;         // summary, left out, or what is wrong
    QSize size;             // as it opened
};

inline QString textOf(AirfieldsDialog *dialog, const char *name)
{
    if (auto *label = dialog->findChild<QLabel *>(QLatin1String(name)))
        return label->text();
    auto *edit = dialog->findChild<QPlainTextEdit *>(QLatin1String(name));
    return edit ? edit->toPlainText() : QString();
}

inline void look(AirfieldsDialog *dialog, Seen &seen)
{
    seen.data = textOf(dialog, "dataLabel");
    seen.room = textOf(dialog, "roomLabel");
    seen.report = textOf(dialog, "reportText");
    seen.preview.clear();
    const auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("previewTable"));
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        seen.preview << cells.join(QLatin1Char('|'));
    }
}

// Until the dialog has nothing under way: the channels shown, or a
// message, with no download or read running.
inline bool waitForAnswer(AirfieldsDialog *dialog, int timeout = 60000)
{
    auto *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    auto *show = dialog->findChild<QPushButton *>(QStringLiteral("showButton"));
    auto *stop = dialog->findChild<QPushButton *>(QStringLiteral("stopDownloadButton"));
    return QTest::qWaitFor([&] {
        return ok->isEnabled() || (!textOf(dialog, "reportText").isEmpty() && show->isEnabled() && stop->isHidden());
    }, timeout);
}

// Types `place` where the focus is and presses Enter, then looks.
inline void typePlace(AirfieldsDialog *dialog, const QString &place, Seen &seen)
{
    // Back from another window (a file dialog), the dialog takes the keys
    // once it is active again.
    if (!QTest::qWaitFor([dialog] { return dialog->isActiveWindow() && QApplication::focusWidget(); }))
        return;
    QWidget *focus = QApplication::focusWidget();
    typeText(focus, place);
    QTest::keyClick(focus, Qt::Key_Return);
    if (!waitForAnswer(dialog))
        seen.report = QStringLiteral("(no answer)");
    else
        look(dialog, seen);
}

// Alt+F, I, A; `steps` runs in the dialog, which is closed after it
// unless it closed itself.
inline void openByKeys(MainWindow &window, Seen &seen, const std::function<void(AirfieldsDialog *)> &steps)
{
    ModalAnswerer<AirfieldsDialog> answer([&](AirfieldsDialog *dialog) {
        seen.shown = true;
        const bool active = QTest::qWaitFor([dialog] { return dialog->isActiveWindow() && QApplication::focusWidget(); });
        seen.focus = active ? QApplication::focusWidget()->objectName() : QString();
        look(dialog, seen);
        seen.size = dialog->size();
        steps(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return;
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    if (auto *file = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        QTest::keyClick(file, Qt::Key_I);
        if (auto *import = qobject_cast<QMenu *>(QApplication::activePopupWidget()); import && import != file)
            QTest::keyClick(import, Qt::Key_A);
    }
    if (auto *popup = QApplication::activePopupWidget())
        popup->close();
}

} // namespace AirfieldsDriver
