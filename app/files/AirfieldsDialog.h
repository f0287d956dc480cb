#pragma once

#include "AirfieldChannels.h"
#include "Channel.h"

#include <QDialog>
#include <QPointer>

class AirfieldDownload;
class QSettings;
struct DownloadResult;

namespace Ui {
class AirfieldsDialog;
}

// The table the channels go into, as the window holds it.
struct AirfieldsTarget {
    QString model;              // "VKR627S": the connected radio's, else the table's
    int channelCount = 0;       // the channels it holds
    int firstChannelNumber = 0; // the number of the first of them
    Channels table;             // every row of the table
    // The table is empty while a radio is connected whose memory was not
    // read: filling it would start over the radio's own channels.
    bool radioUnread = false;
};

// Channels of airfields from OurAirports' data: the data the program
// downloaded and keeps (downloaded as the dialog opens when none is kept,
// or anew on "Update airfield data"), or two files the user chose; the nearest airfields around a place
// or airfields by ident; the kinds and frequency types wanted; and whether
// they fill the table from its first empty row or replace it. "Show
// channels" works them out with the exchange library and lists them with
// the channel each goes to; OK takes them only once shown for what the
// dialog holds. Offered, the radio is read first (by the window, asked for
// with readRadioRequested() as the dialog opens), so that filling starts
// after its channels.
class AirfieldsDialog : public QDialog
{
    Q_OBJECT
public:
    AirfieldsDialog(QSettings &settings, const AirfieldsTarget &target, QWidget *parent);
    ~AirfieldsDialog() override;

    // What was shown last: its channels, skipped rows and summary.
    const AirfieldResult &result() const { return shown; }
    bool replacesTable() const;
    // What the channels are around, for the card's title: the place as
    // typed in "Near", or the idents.
    QString placeName() const;

    // The window's answer to readRadioRequested(): the table as it is now,
    // and whether the radio's memory was read whole into it.
    void radioRead(const AirfieldsTarget &now, bool complete);

signals:
    void readRadioRequested();

protected:
    void done(int result) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void showChannels();
    void requestChanged();
    void takeChannels();

private:
    void chooseFiles();
    void fetchWhatIsMissing();
    void startDownload();
    void downloadEnded(const DownloadResult &ended);
    void showDownloading(bool downloading);
    void showData();
    void showRoom();
    bool readsFirst() const;
    int freeChannels() const;
    int room() const;
    // The request the dialog holds, or what is wrong with it in the
    // dialog's words.
    QString readRequest(AirfieldOptions &options) const;
    // The request as the fields give it, after what was shown is dropped;
    // false, with the reason shown, when the fields do not make one.
    bool takeRequest(AirfieldOptions &options);
    // Works the channels out once nothing is awaited any more.
    void showWhenReady();
    void endPending();
    void showResult(const AirfieldOptions &options);
    void report(const QStringList &lines);
    QString readingText() const;
    QString mainOnlyText() const;

    Ui::AirfieldsDialog *ui;
    QSettings &settings;
    AirfieldsTarget target;
    AirfieldResult shown;
    AirfieldDownload *download = nullptr;
    QPointer<QWidget> focusBefore; // of the download
    QString dataFolder;
    bool filesChosen = false;       // the user's two files stand in for the data kept
    bool nearestSetByUser = false;  // else it follows the free channels
    bool showPending = false;       // "Show channels" waits for the read or the download
    bool awaitingRead = false;
    bool opened = false;
};
