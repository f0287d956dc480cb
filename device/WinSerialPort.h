#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A COM port of Windows as a QIODevice, with the names and the behaviour
// of the part of QSerialPort the link uses: open and close, the line
// settings, reads that wait, writes, dropping the input, and an error
// (ResourceError) once the adapter is unplugged.
//
// A thread of the port's own keeps one read outstanding at all times, with
// a short read-interval time-out, and hands what arrives to the port's
// thread: waitForReadyRead() takes it there, or the event loop does when no
// one waits. Chained reads rather than WaitCommEvent: Wine (where the
// Windows build is tested, against a pseudo-terminal) ends every
// WaitCommEvent at once, and reads work alike on both. Each time a read
// ends, ClearCommError asks the driver about the port, which fails once the
// adapter is gone, even while nothing is being sent.
//
// Its members, like QSerialPort's, are called on the thread that made it.
class WinSerialPort : public QIODevice
{
    Q_OBJECT

public:
    enum Direction { Input = 1, Output = 2, AllDirections = Input | Output };
    Q_DECLARE_FLAGS(Directions, Direction)
    enum DataBits { Data5 = 5, Data6 = 6, Data7 = 7, Data8 = 8, UnknownDataBits = -1 };
    enum Parity { NoParity = 0, EvenParity = 2, OddParity = 3, SpaceParity = 4, MarkParity = 5, UnknownParity = -1 };
    enum StopBits { OneStop = 1, OneAndHalfStop = 3, TwoStop = 2, UnknownStopBits = -1 };
    enum FlowControl { NoFlowControl, HardwareControl, SoftwareControl, UnknownFlowControl = -1 };
    enum SerialPortError {
        NoError,
        DeviceNotFoundError,
        PermissionError,
        OpenError,
        ParityError,
        FramingError,
        BreakConditionError,
        WriteError,
        ReadError,
        ResourceError,
        UnsupportedOperationError,
        UnknownError,
        TimeoutError,
        NotOpenError
    };
    Q_ENUM(SerialPortError)

    explicit WinSerialPort(QObject *parent = nullptr);
    ~WinSerialPort() override;

    // "COM3", or the system's own form "\\.\COM10" (the only one Windows
    // takes for COM10 and above); portName() gives the short form.
    void setPortName(const QString &name);
    QString portName() const;

    bool open(OpenMode mode) override;
    void close() override;

    // Kept while the port is closed and applied when it opens; applied at
    // once to an open port. False when the driver refuses them.
    bool setBaudRate(qint32 baudRate, Directions directions = AllDirections);
    qint32 baudRate(Directions directions = AllDirections) const;
    bool setDataBits(DataBits dataBits);
    DataBits dataBits() const { return lineDataBits; }
    bool setParity(Parity parity);
    Parity parity() const { return lineParity; }
    bool setStopBits(StopBits stopBits);
    StopBits stopBits() const { return lineStopBits; }
    bool setFlowControl(FlowControl flowControl);
    FlowControl flowControl() const { return lineFlowControl; }

    // Drops what the port holds for reading, in its buffer and the
    // driver's, and what is still to be sent.
    bool clear(Directions directions = AllDirections);
    // Writes go to the driver as they are made; nothing waits here.
    bool flush();

    SerialPortError error() const { return portError; }
    void clearError();

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override { return 0; }
    bool waitForReadyRead(int msecs) override;
    bool waitForBytesWritten(int msecs) override;

signals:
    void errorOccurred(WinSerialPort::SerialPortError error);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void setPortError(SerialPortError error, const QString &text);
    void setSystemError(SerialPortError error, unsigned long code);
    bool applyLineSettings();
    // Moves what the reader has received into the port's buffer; true, with
    // readyRead emitted, when there was any. Says a failed read.
    bool takeArrivals();
    void readLoop();
    void stopReader();

    QString name;
    qint32 lineBaudRate = 9600;
    DataBits lineDataBits = Data8;
    Parity lineParity = NoParity;
    StopBits lineStopBits = OneStop;
    FlowControl lineFlowControl = NoFlowControl;
    SerialPortError portError = NoError;

    void *handle = nullptr;      // the open port (a HANDLE), null while closed
    void *wakeReader = nullptr;  // an event that interrupts the reader's wait
    QByteArray buffer;           // taken from the reader, not yet read
    bool failureSaid = false;    // the reader's failure is the port's error already

    // Shared with the reader thread, under `mutex`.
    std::mutex mutex;
    std::condition_variable arrived;  // bytes, a failure or a finished purge
    QByteArray incoming;              // received, not yet taken
    unsigned long readFailure = 0;    // the system's error code of a failed read, 0 while none
    bool stopRequested = false;
    bool purgeRequested = false;
    bool readerEnded = false;         // the reader stopped after a failure (or was stopped)
    std::atomic<bool> arrivalPosted{false}; // a hand-over to the event loop is on its way
    std::thread reader;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(WinSerialPort::Directions)
