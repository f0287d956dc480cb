#pragma once

#include "ChannelCsv.h"
#include "CsvTable.h"

#include <QMainWindow>
#include <QSettings>
#include <QString>

#include <functional>

namespace Link {
enum class ProbeStage;
}

class ChannelCard;
class QLineEdit;
class QShortcut;
class RadioThread;
struct RadioModel;

namespace Session {
struct ReadOutcome;
struct WriteResult;
}

namespace Ui {
class MainWindow;
}

// The program's one window. It owns all state: the widget tree, the channel
// table (the only store of the channel records), the settings store, the rows
// of the last CSV file read and the thread that talks to the radio.
class MainWindow : public QMainWindow
{
    Q_OBJECT
    friend class MainWindowTestAccess; // lets the tests reach private operations

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

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
    void setNameValidColor();
    void importChirp();
    void importAirfields();
    void printCard();
    void exportCard();

private:
    // Application shell (app/)
    void connectSignals();
    void showStatusMessage(const QString &text);

    // Channel table (table/)
    void setupFrequencyTable();
    void renumberFrequencyTable();
    void clearFrequencyTable();
    void setFrequencyTableRowCount(int rows);
    void buildChannelRow(int row);
    QLineEdit *nameEditor(int row) const;
    QLineEdit *frequencyEditor(int row) const;
    ChannelRecords tableRecords() const; // the rows as the editors show them
    void showChannels(const ChannelRecords &records); // replaces every row's contents
    void showChannelProblem(int row, int column);     // selects the cell and scrolls it into view
    bool isFrequencyEditor(const QWidget *widget) const;
    static void setEditorText(QLineEdit *editor, const QString &text);

    // Device link (device/)
    enum class Activity { Idle, Scanning, Reading, Writing };
    void fillComPortComboBox();
    void probePort(const QString &portName, int portIndex);
    void probeEnded(const RadioModel *model, int portIndex);
    std::function<void(Link::ProbeStage)> probeStagesShown();
    void radioVanished();
    void setActivity(Activity activity);
    void updateControls();
    void showTransferProgress();
    void showDeviceState(const QString &text, const char *styleSheet);
    void showDeviceText(const QString &text);
    void setTransferButtonsEnabled(bool enabled);
    RadioThread &radioThread();
    bool channelsFitTheRadio();
    void readEnded(const Session::ReadOutcome &read);
    // Restoring writes a backup file instead of the channels; `showRestored`
    // puts it into the table once the radio holds it.
    struct WriteSource {
        QString restoreFrom;
        bool showRestored = false;
    };
    void startWrite(const ChannelRecords &channels, const WriteSource &source);
    void writeEnded(const Session::WriteResult &result, const WriteSource &source);
    void offerRestore(const QString &title, const QString &text, const QString &details, const QString &restorable,
                      const QString &kept);

    // Channel files (files/)
    bool writeCsvFile();
    void fillFrequencyTable();
    enum class FileDialogPurpose { Open, Save };
    QString chooseCsvFile(FileDialogPurpose purpose);

    // Channel lists from outside (files/ImportCommands.cpp)
    void importChirpFile(const QString &fileName);
    bool openedAsImport(const QString &fileName);
    int placeImportedChannels(const ChannelRecords &channels, bool replace);
    void showImportReport(const QString &summary, const QStringList &messages);
    // Channel card (app/CardCommands.cpp)
    ChannelCard channelCard() const;
    QString cardTitle() const;
    bool cardHasChannels(const ChannelCard &card);
    QString chooseCardFile();

    Ui::MainWindow *ui;
    QString currentFileName;
    CsvTable csvTable;
    RadioThread *radio; // made by the first scan, like the port it holds
    int channelCount;
    QString currentDirectory;
    int firstChannelNumber;
    QSettings settings;

    // The radio connected, as the window knows it: its model (null for none)
    // and its port.
    const RadioModel *connectedModel = nullptr;
    QString connectedPort;
    Activity activity = Activity::Idle;
    QShortcut *cancelShortcut = nullptr; // Escape, while a transfer runs
    // The backup of the last complete read of the connected radio, while
    // nothing was written to it since: the memory as it stands, which a
    // write then need not read again.
    QString currentBackup;
    QString tableReadFrom; // the model the table was last read from; empty once a file is loaded or saved
};
