#pragma once

#include "AirfieldData.h"
#include "AirfieldsDialog.h"
#include "FileContent.h"
#include "KeyTyping.h"
#include "ModalAnswerer.h"
#include "ProgramFolders.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

// The Airfields dialog as a user meets it: opened from the keyboard, a
// place typed, its preview and messages read off the widgets.
namespace AirfieldsDriver {

// EDDF and, due north or south of it, the others: 0.05 degrees of
// latitude are 5.6 km (3.0 NM), 0.1 are 11 km (6.0 NM), 0.2 are 22 km.
inline const QByteArray airports = "ident,type,name,latitude_deg,longitude_deg\nEDDF,large_airport,Frankfurt,50.0,8.5\n"
                                   "EDFZ,closed,Mainz-Finthen,50.05,8.5\nEDHX,heliport,Klinikum,49.95,8.5\n"
                                   "EDFE,small_airport,Egelsbach,50.1,8.5\nEDFM,medium_airport,Mannheim,49.8,8.5\n";
inline const QByteArray frequencies = "airport_ident,type,description,frequency_mhz\nEDDF,TWR,TOWER,119.9\n"
                                      "EDFZ,TWR,TOWER,122.0\nEDHX,TWR,TOWER,123.05\nEDFE,TWR,TOWER,118.275\n"
                                      "EDFM,TWR,TOWER,121.1\nEDFM,UHF,MIL,243\n";

// Data in the program's data folder as a download leaves it, on `date`;
// `date` invalid: none.
inline bool keepData(const QDate &date, const QByteArray &airportsCsv = airports,
                     const QByteArray &frequenciesCsv = frequencies)
{
    const AirfieldData data(ProgramFolders::dataFolder());
    if (!QDir(data.folder()).removeRecursively() || !date.isValid())
        return true;
    return QDir().mkpath(data.folder()) && writeContent(data.airportsPath(), airportsCsv)
        && writeContent(data.frequenciesPath(), frequenciesCsv) && data.noteDownloaded(QDateTime(date, QTime(12, 0)));
}

// What the dialog showed.
struct Seen {
    bool shown = false;
    QString focus;       // the widget with the focus when it opened
    QSize size;          // as it opened
    QString data;        // "Airfield data of 2026-12-08"
    QString room;        // "The VKR627S holds 20 channels; ..."
    QStringList preview; // "channel|name|frequency|airfield|distance|bearing"
    QString report;      // summary, left out, or what is wrong
};

inline void look(AirfieldsDialog *dialog, Seen &seen)
{
    seen.data = dialog->findChild<QLabel *>(QStringLiteral("dataLabel"))->text();
    seen.room = dialog->findChild<QLabel *>(QStringLiteral("roomLabel"))->text();
    seen.report = dialog->findChild<QPlainTextEdit *>(QStringLiteral("reportText"))->toPlainText();
    seen.preview.clear();
    const auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("previewTable"));
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        seen.preview << cells.join(QLatin1Char('|'));
    }
}

// Until nothing is under way any more (the channels shown, or a message,
// no download or read running), then looks.
inline void lookOnceDone(AirfieldsDialog *dialog, Seen &seen)
{
    auto *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    auto *show = dialog->findChild<QPushButton *>(QStringLiteral("showButton"));
    auto *stop = dialog->findChild<QPushButton *>(QStringLiteral("stopDownloadButton"));
    auto *report = dialog->findChild<QPlainTextEdit *>(QStringLiteral("reportText"));
    const bool done = QTest::qWaitFor([&] {
        return ok->isEnabled() || (!report->toPlainText().isEmpty() && show->isEnabled() && stop->isHidden());
    }, 60000);
    look(dialog, seen);
    if (!done)
        seen.report = QStringLiteral("(no answer)");
}

// Types `place` where the focus is, once the dialog is active (again,
// after a file dialog), and presses Enter.
inline void typePlace(AirfieldsDialog *dialog, const QString &place, Seen &seen)
{
    if (!QTest::qWaitFor([dialog] { return dialog->isActiveWindow() && QApplication::focusWidget(); }))
        return;
    typeText(QApplication::focusWidget(), place);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    lookOnceDone(dialog, seen);
}

// Alt+F, I, A; `steps` runs in the dialog, closed after it unless it
// closed itself.
inline void openByKeys(QWidget &window, Seen &seen, const std::function<void(AirfieldsDialog *)> &steps)
{
    ModalAnswerer<AirfieldsDialog> answer([&](AirfieldsDialog *dialog) {
        seen.shown = true;
        const bool active = QTest::qWaitFor([dialog] { return dialog->isActiveWindow() && QApplication::focusWidget(); });
        seen.focus = active ? QApplication::focusWidget()->objectName() : QString();
        seen.size = dialog->size();
        look(dialog, seen);
        steps(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return;
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    for (const Qt::Key key : {Qt::Key_I, Qt::Key_A}) {
        if (QWidget *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            QTest::keyClick(menu, key);
    }
}

} // namespace AirfieldsDriver
