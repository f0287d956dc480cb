#pragma once

#include "ImportResult.h"

#include <QDialog>

class QLineEdit;
class QSettings;
struct AirfieldOptions;

namespace Ui {
class AirfieldsDialog;
}

// Channels of airfields from OurAirports' two files: the airfields by ident
// or around a position, the frequency types and channels per airfield, and
// whether they fill the table from its first empty row or replace it. The
// channels are shown before they are placed: "Show channels" works them out
// with the exchange library, and OK takes them only once shown for what the
// dialog holds. The two files are remembered in the settings.
class AirfieldsDialog : public QDialog
{
    Q_OBJECT
public:
    // `replaceRoom`: the rows of the table; `fillRoom`: its empty rows.
    AirfieldsDialog(QSettings &settings, int replaceRoom, int fillRoom, QWidget *parent);
    ~AirfieldsDialog() override;

    // What was shown last: its channels, skipped rows and summary.
    const ImportResult &result() const { return shown; }
    bool replacesTable() const;

private slots:
    void showChannels();
    void requestChanged();
    void takeChannels();

private:
    void browse(QLineEdit *edit);
    // The request the dialog holds, or what is missing in words of the dialog.
    QString readRequest(AirfieldOptions &options) const;
    void showResult();

    Ui::AirfieldsDialog *ui;
    QSettings &settings;
    int replaceRoom;
    int fillRoom;
    ImportResult shown;
};
