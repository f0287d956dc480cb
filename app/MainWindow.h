#pragma once

#include "ChannelSheet.h"
#include "CsvTable.h"
#include "EditorStyles.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

namespace Link {
enum class ProbeStage;
}

class AirfieldsDialog;
class ChannelCard;
class ChannelDelegate;
class QDialog;
class QLabel;
class QLineEdit;
class QShortcut;
class QTimer;
class RadioEndCaption;
class RadioThread;
struct AirfieldsTarget;
struct RadioModel;

namespace Session {
enum class Phase;
struct JobObserver;
struct ReadOutcome;
struct WriteReport;
}

namespace Ui {
class MainWindow;
}

// The program's one window: the widget tree, the channel sheet its table
// shows (the channel records, 100 of them whatever the radio holds, and
// their history), the settings store, the rows of the last CSV file read and
// the thread that talks to the radio. It moves data between the widgets and
// the libraries that decide.
class MainWindow : public QMainWindow
{
    Q_OBJECT
    friend class MainWindowTestAccess; // lets the tests reach private operations

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The place the table's channels were chosen around ("EDDF", "50.03N
    // 8.57E"), for the card's title ("EDDF area, VKR627S, 2026-12-08");
    // forgotten when a file or the radio's memory replaces the table.
    void setCardPlace(const QString &place) { cardPlace = place; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void open();
    void save();
    bool saveAs();
    void about();
    void setFreqValidColor();
    void searchVKR();
    void comPortChanged(int currIndex);
    void loadFreqsFromVkr();
    void saveFreqsToVkr();
    void dirEntered(QString dir);
    void restoreBackup();
    void cancelTransfer();
    void importChirp();
    void importAirfields();
    void printCard();
    void exportCard();

private:
    // Application shell (app/)
    void connectSignals();
    void connectEditActions();
    void endCellEdit();
    void showStatusMessage(const QString &text);
    void showManual();
    void fitToFont();
    void fitDeviceLabel();
    void resizeToDesign();

    // Channel table (table/): the view of `sheet`. The records are read
    // from the sheet and changed through it, so that every change is one
    // step of its history.
    void setupFrequencyTable();
    void renumberFrequencyTable();
    // The connected radio's channels and their numbering (the sheet's model).
    int channelCount() const { return sheet.model().channelCount; }
    int firstChannelNumber() const { return sheet.model().firstChannelNumber; }
    QString withRecordsLeftOut(const QString &message) const;
    static QString countedRecords(int count); // "1 record", "2 records"
    void commitCellEdit(int row, int column, const QString &text);
    void showChangedRows(const QList<int> &rows, const QList<int> &rowsToSelect);
    void showRecord(int row, const Channel &record);
    void styleRow(int row);
    void styleAllRows();
    void setRadioChannelCount(int count, int firstNumber);
    void setRadioModel(const RadioModel &model);
    void showRadioChannels(const Channels &channels);
    void showFirstRow();
    void showCurrentCellFault();
    void placeRadioEndCaption();
    void fitTableToFont();

    // Row operations (table/), on the selected rows
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    void extendSelectionToRows();
    void insertRowsAbove();
    void deleteRows();
    void moveRows(bool up);
    void clearSelectedCells();
    void sortRows(bool byName);
    void copyRows();
    void cutRows();
    void pasteRows();
    void showTableMenu(const QPoint &position);
    void showChannelProblem(int row, int column); // selects the cell and scrolls it into view

    // Device link (device/)
    enum class Activity { Idle, Scanning, Reading, Writing };
    void fillComPortComboBox();
    void probePorts(const QStringList &ports, const std::function<void(const RadioModel *, int)> &ended);
    void probeEnded(const RadioModel *model, int portIndex);
    void watchPorts();
    void showPortHeld(const QString &held);
    std::function<void(Link::ProbeStage)> probeStagesShown();
    void radioVanished();
    void setActivity(Activity activity);
    void updateControls();
    void showTransferProgress();
    void observeProgress(Session::JobObserver &observer, const QVector<Session::Phase> &phases);
    void setupRadioState();
    void showWritten(int channels, const QString &backup);
    void showRadioState();
    void showDeviceState(const QString &text, EditorStyle::Tone tone);
    void showDeviceText(const QString &text);
    void setTransferButtonsEnabled(bool enabled);
    RadioThread &radioThread();
    bool channelsFitTheRadio();
    void readEnded(const Session::ReadOutcome &read);
    void showIncompleteRead(const Session::ReadOutcome &read);
    void closeIfAsked();
    // Restoring writes a backup file instead of the channels; `showRestored`
    // puts it into the table once the radio holds it. A write that would
    // empty most channels in use waits until the user agreed to empty them
    // for the memory the radio held then.
    struct WriteSource {
        QString restoreFrom;
        bool showRestored = false;
        std::optional<Channels> emptyingAgreedFor;
        bool undoesFailedWrite = false; // the backup from the box of a failed write
    };
    void startWrite(const Channels &channels, const WriteSource &source);
    void writeEnded(const Session::WriteReport &report, const WriteSource &source);
    QString connectedRadioName() const;
    void askToEmpty(const Session::WriteReport &report, const WriteSource &source);
    void offerRestore(const QString &title, const QString &text, const QString &details, const QString &restorable,
                      const QString &kept);

    // Channel files (files/)
    enum class SaveOutcome { Saved, Failed, Cancelled };
    SaveOutcome saveTableTo(const QString &fileName, QString *reason = nullptr);
    bool saveChanges();
    bool maySetTableAside();
    void showFileName();
    void showHiddenRecords();
    enum class FileDialogPurpose { Open, Save };
    QString chooseCsvFile(FileDialogPurpose purpose);

    // Channel lists from outside (files/ImportCommands.cpp)
    void importChirpFile(const QString &fileName);
    bool openedAsImport(const QString &fileName);
    int placeImportedChannels(const Channels &channels, bool replace);
    void showImportReport(const QString &summary, const QStringList &messages);
    AirfieldsTarget airfieldsTarget() const;
    void readForAirfields(AirfieldsDialog &dialog);
    // Channel card (app/CardCommands.cpp)
    ChannelCard channelCard() const;
    QString cardTitle() const;
    QString cardFileName() const;
    bool cardHasChannels(const ChannelCard &card);
    QString chooseCardFile();

    Ui::MainWindow *ui;
    QString currentFileName;
    CsvTable csvTable;
    RadioThread *radio; // made by the first scan, like the port it holds
    QString currentDirectory;
    QSettings settings;

    // The radio connected, as the window knows it: its model (null for none)
    // and its port.
    const RadioModel *connectedModel = nullptr;
    QString connectedPort;
    Activity activity = Activity::Idle;
    QShortcut *cancelShortcut = nullptr; // Escape, while a transfer runs
    // The backup of the memory as it was before the first of the writes or
    // restores that failed since the last one that succeeded: the one to
    // put back, not one of a radio already half written.
    QString firstFailedBackup;
    bool closeAfterTransfer = false; // the user stopped a transfer to close the window
    QString tableReadFrom; // the model the table was last read from; empty once a file is loaded or saved
    QString cardPlace;
    // The ports seen when the list was last looked at: one that appears
    // while no radio is connected (a radio plugged in) is probed alone.
    QStringList seenPorts;
    QTimer *portWatch = nullptr;
    // Whether the radio holds the table: the last write's result, shown
    // until the table changes, or how many of its channels differ.
    QLabel *radioStateLabel = nullptr;
    QString writtenLine;
    QString writtenBackup;

    ChannelSheet sheet;
    ChannelDelegate *delegate;
    RadioEndCaption *radioEndCaption;
    QLabel *hiddenRecordsLabel;
    EditorStyle::Tone deviceTone;
    bool showingRecords;           // the table is being filled by the program, not edited
    QString hiddenRecordsFile;     // a file holding more records than the table
    int hiddenRecordCount;
    QString shownCellFault;        // the status bar message about the current cell
    QPointer<QDialog> manual;
};
