#pragma once

#include "ChannelCsv.h"
#include "CsvTable.h"

#include <QMainWindow>
#include <QSettings>
#include <QString>

class QLineEdit;
class QSerialPort;

namespace Ui {
class MainWindow;
}

// The program's one window. It owns all state: the widget tree, the channel
// table (the only store of the channel records), the settings store, the rows
// of the last CSV file read and the serial port to the radio.
class MainWindow : public QMainWindow
{
    Q_OBJECT
    friend class MainWindowTestAccess; // lets the tests reach private operations

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

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
    void importChirp();
    void importAirfields();

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
    bool isFrequencyEditor(const QWidget *widget) const;
    static void setEditorText(QLineEdit *editor, const QString &text);

    // Device link (device/)
    void collectReply(QByteArray &reply, int quietTime);
    char frameChecksum(const QByteArray &frame, int n);
    void fillComPortComboBox();
    bool probePort(const QString &portName);
    bool allChannelsValid();
    void showTransferProgress();
    bool radioHolds(const ChannelRecords &written);
    void showDeviceState(const QString &text, const char *styleSheet);
    void showDeviceText(const QString &text);
    void setTransferButtonsEnabled(bool enabled);
    void closeVanishedPort();

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

    Ui::MainWindow *ui;
    QString currentFileName;
    CsvTable csvTable;
    QSerialPort *serialPort;
    int channelCount;
    QString currentDirectory;
    int firstChannelNumber;
    QSettings settings;
};
