#include "WinSerialPort.h"

#include <QMetaObject>

#include <chrono>

#include <windows.h>

namespace {

// A read ends this long after the last byte of a burst: about five byte
// times at 9600 baud, so a frame is handed over whole and at once.
constexpr DWORD readIntervalTimeout = 5; // ms
// An idle read ends this often, and the driver is asked whether the port
// is still there: an adapter unplugged while nothing moves is noticed
// within this time.
constexpr DWORD readPollTimeout = 100; // ms
// A write the driver cannot hand on (a line held by flow control) gives up.
constexpr DWORD writeTimeoutConstant = 2000;  // ms
constexpr DWORD writeTimeoutPerByte = 2;      // ms, twice a byte's time at 9600 baud
constexpr int readChunk = 512;
// How long clear() waits for the reader to give up its read and purge.
constexpr auto purgeWait = std::chrono::seconds(2);

HANDLE asHandle(void *handle)
{
    return static_cast<HANDLE>(handle);
}

// The system's answers that mean the port itself went away: the adapter
// unplugged, its driver stopped, the pseudo-terminal behind Wine's port
// closed.
bool portIsGone(DWORD code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_BROKEN_PIPE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_READY:
    case ERROR_OPERATION_ABORTED:
        return true;
    default:
        return false;
    }
}

} // namespace

WinSerialPort::WinSerialPort(QObject *parent)
    : QIODevice(parent)
{
}

WinSerialPort::~WinSerialPort()
{
    if (isOpen())
        close();
}

void WinSerialPort::setPortName(const QString &portName)
{
    name = portName;
}

QString WinSerialPort::portName() const
{
    static const QString systemPrefix = QStringLiteral("\\\\.\\");
    return name.startsWith(systemPrefix) ? name.mid(systemPrefix.size()) : name;
}

bool WinSerialPort::open(OpenMode mode)
{
    if (isOpen()) {
        setPortError(OpenError, QStringLiteral("the port is open already"));
        return false;
    }
    portError = NoError;
    // COM10 and above open only as \\.\COM10; the lower ones take it too.
    const QString path = name.startsWith(QLatin1String("\\\\")) ? name : QStringLiteral("\\\\.\\") + name;
    const HANDLE port = ::CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        SerialPortError kind = OpenError;
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME)
            kind = DeviceNotFoundError;
        else if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION)
            kind = PermissionError; // Windows gives a COM port to one program at a time
        setSystemError(kind, code);
        return false;
    }
    handle = port;
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = readIntervalTimeout;
    timeouts.ReadTotalTimeoutConstant = readPollTimeout;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = writeTimeoutPerByte;
    if (!applyLineSettings() || !::SetCommTimeouts(port, &timeouts)) {
        if (portError == NoError)
            setSystemError(UnsupportedOperationError, ::GetLastError());
        ::CloseHandle(port);
        handle = nullptr;
        return false;
    }
    DWORD lineErrors = 0;
    ::ClearCommError(port, &lineErrors, nullptr);
    wakeReader = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    buffer.clear();
    failureSaid = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        incoming.clear();
        readFailure = 0;
        stopRequested = false;
        purgeRequested = false;
        readerEnded = false;
    }
    QIODevice::open(mode | QIODevice::Unbuffered);
    reader = std::thread([this] { readLoop(); });
    return true;
}

void WinSerialPort::close()
{
    if (!isOpen()) {
        setPortError(NotOpenError, QStringLiteral("the port is not open"));
        return;
    }
    stopReader();
    ::CloseHandle(asHandle(handle));
    ::CloseHandle(asHandle(wakeReader));
    handle = nullptr;
    wakeReader = nullptr;
    // Emits aboutToClose while what was received can still be looked at.
    QIODevice::close();
    buffer.clear();
    std::lock_guard<std::mutex> lock(mutex);
    incoming.clear();
}

bool WinSerialPort::applyLineSettings()
{
    if (!handle)
        return true;
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    // A device that takes no line settings is no serial port (Wine gives
    // such a device for a COM port whose terminal is gone).
    if (!::GetCommState(asHandle(handle), &dcb)) {
        setSystemError(UnsupportedOperationError, ::GetLastError());
        return false;
    }
    dcb.BaudRate = DWORD(lineBaudRate);
    dcb.ByteSize = BYTE(lineDataBits);
    switch (lineParity) {
    case EvenParity: dcb.Parity = EVENPARITY; break;
    case OddParity: dcb.Parity = ODDPARITY; break;
    case SpaceParity: dcb.Parity = SPACEPARITY; break;
    case MarkParity: dcb.Parity = MARKPARITY; break;
    default: dcb.Parity = NOPARITY; break;
    }
    dcb.fParity = lineParity != NoParity;
    dcb.StopBits = lineStopBits == TwoStop ? TWOSTOPBITS : lineStopBits == OneAndHalfStop ? ONE5STOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fAbortOnError = FALSE; // a framing error must not stop every later read
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    // DTR and RTS raised, as a Linux tty raises them on open: some radio
    // cables draw their power from them.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutxCtsFlow = lineFlowControl == HardwareControl;
    dcb.fRtsControl = lineFlowControl == HardwareControl ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutX = dcb.fInX = lineFlowControl == SoftwareControl;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    if (!::SetCommState(asHandle(handle), &dcb)) {
        setSystemError(UnsupportedOperationError, ::GetLastError());
        return false;
    }
    return true;
}

bool WinSerialPort::setBaudRate(qint32 baudRate, Directions directions)
{
    // Windows has one rate for both directions.
    Q_UNUSED(directions)
    lineBaudRate = baudRate;
    return applyLineSettings();
}

qint32 WinSerialPort::baudRate(Directions directions) const
{
    Q_UNUSED(directions)
    return lineBaudRate;
}

bool WinSerialPort::setDataBits(DataBits dataBits)
{
    lineDataBits = dataBits;
    return applyLineSettings();
}

bool WinSerialPort::setParity(Parity parity)
{
    lineParity = parity;
    return applyLineSettings();
}

bool WinSerialPort::setStopBits(StopBits stopBits)
{
    lineStopBits = stopBits;
    return applyLineSettings();
}

bool WinSerialPort::setFlowControl(FlowControl flowControl)
{
    lineFlowControl = flowControl;
    return applyLineSettings();
}

void WinSerialPort::clearError()
{
    setPortError(NoError, QString());
}

void WinSerialPort::setPortError(SerialPortError error, const QString &text)
{
    portError = error;
    setErrorString(text);
    if (error != NoError)
        emit errorOccurred(error);
}

void WinSerialPort::setSystemError(SerialPortError error, unsigned long code)
{
    setPortError(error, qt_error_string(int(code)).trimmed());
}

bool WinSerialPort::clear(Directions directions)
{
    if (!handle) {
        setPortError(NotOpenError, QStringLiteral("the port is not open"));
        return false;
    }
    if (directions & Output)
        ::PurgeComm(asHandle(handle), PURGE_TXCLEAR); // writes are handed on at once: only the driver's are left
    if (!(directions & Input))
        return true;
    buffer.clear();
    std::unique_lock<std::mutex> lock(mutex);
    incoming.clear();
    if (readerEnded) {
        ::PurgeComm(asHandle(handle), PURGE_RXCLEAR);
        return true;
    }
    // The reader gives up its read (bytes in it came before this call),
    // purges the driver's buffer and only then reads again.
    purgeRequested = true;
    ::SetEvent(asHandle(wakeReader));
    arrived.wait_for(lock, purgeWait, [this] { return !purgeRequested || readerEnded; });
    incoming.clear();
    return true;
}

bool WinSerialPort::flush()
{
    return handle != nullptr;
}

qint64 WinSerialPort::bytesAvailable() const
{
    return buffer.size() + QIODevice::bytesAvailable();
}

bool WinSerialPort::takeArrivals()
{
    QByteArray taken;
    unsigned long failure = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        taken.swap(incoming);
        failure = readFailure;
    }
    if (!isOpen())
        return false;
    if (!taken.isEmpty()) {
        buffer.append(taken);
        emit readyRead();
    }
    if (failure != 0 && !failureSaid) {
        failureSaid = true;
        setSystemError(portIsGone(failure) ? ResourceError : ReadError, failure);
    }
    return !taken.isEmpty();
}

bool WinSerialPort::waitForReadyRead(int msecs)
{
    if (!isOpen())
        return false;
    if (takeArrivals())
        return true;
    if (failureSaid)
        return false;
    {
        std::unique_lock<std::mutex> lock(mutex);
        const auto ready = [this] { return !incoming.isEmpty() || readFailure != 0; };
        if (msecs < 0)
            arrived.wait(lock, ready);
        else
            arrived.wait_for(lock, std::chrono::milliseconds(msecs), ready);
    }
    return takeArrivals();
}

bool WinSerialPort::waitForBytesWritten(int msecs)
{
    // Every write was handed to the driver before write() returned: none
    // is pending, as with QSerialPort's empty write buffer.
    Q_UNUSED(msecs)
    return false;
}

qint64 WinSerialPort::readData(char *data, qint64 maxSize)
{
    const int taken = int(qMin<qint64>(maxSize, buffer.size()));
    memcpy(data, buffer.constData(), size_t(taken));
    buffer.remove(0, taken);
    return taken;
}

qint64 WinSerialPort::writeData(const char *data, qint64 size)
{
    if (!handle)
        return -1;
    OVERLAPPED overlapped = {};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    DWORD failure = 0;
    if (!::WriteFile(asHandle(handle), data, DWORD(size), nullptr, &overlapped)) {
        failure = ::GetLastError();
        if (failure == ERROR_IO_PENDING)
            failure = 0;
    }
    if (failure == 0 && !::GetOverlappedResult(asHandle(handle), &overlapped, &written, TRUE))
        failure = ::GetLastError();
    ::CloseHandle(overlapped.hEvent);
    if (failure == 0 && written == 0 && size > 0)
        failure = ERROR_TIMEOUT;
    if (failure != 0) {
        setSystemError(portIsGone(failure) ? ResourceError : WriteError, failure);
        return -1;
    }
    return written;
}

void WinSerialPort::stopReader()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopRequested = true;
        ::SetEvent(asHandle(wakeReader));
    }
    if (reader.joinable())
        reader.join();
}

void WinSerialPort::readLoop()
{
    const HANDLE port = asHandle(handle);
    const HANDLE wake = asHandle(wakeReader);
    const HANDLE readDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char chunk[readChunk];
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopRequested)
                break;
            if (purgeRequested) {
                ::PurgeComm(port, PURGE_RXCLEAR);
                incoming.clear();
                purgeRequested = false;
                ::ResetEvent(wake); // the request that set it is answered
                arrived.notify_all();
            }
        }
        OVERLAPPED overlapped = {};
        overlapped.hEvent = readDone;
        ::ResetEvent(readDone);
        DWORD got = 0;
        DWORD failure = 0;
        bool cancelled = false;
        if (!::ReadFile(port, chunk, sizeof chunk, nullptr, &overlapped))
            failure = ::GetLastError();
        if (failure == 0 || failure == ERROR_IO_PENDING) {
            if (failure == ERROR_IO_PENDING) {
                const HANDLE events[] = {readDone, wake};
                if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
                    ::CancelIoEx(port, &overlapped); // a stop or a purge
                    cancelled = true;
                }
            }
            failure = ::GetOverlappedResult(port, &overlapped, &got, TRUE) ? 0 : ::GetLastError();
        }
        // A read that ran out of time is no failure: Windows ends it with
        // nothing read, Wine with ERROR_TIMEOUT.
        if (failure == ERROR_TIMEOUT || (cancelled && failure == ERROR_OPERATION_ABORTED))
            failure = 0;
        // The driver's view of the port: this fails once the adapter is gone.
        DWORD lineErrors = 0;
        if (failure == 0 && !::ClearCommError(port, &lineErrors, nullptr))
            failure = ::GetLastError();

        std::lock_guard<std::mutex> lock(mutex);
        if (stopRequested)
            break;
        if (purgeRequested)
            continue; // what this read got came before the purge
        if (got > 0)
            incoming.append(chunk, int(got));
        if (failure != 0)
            readFailure = failure;
        if (got > 0 || failure != 0) {
            arrived.notify_all();
            // Handed over by the event loop when no one waits for it.
            if (!arrivalPosted.exchange(true)) {
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        arrivalPosted = false;
                        takeArrivals();
                    },
                    Qt::QueuedConnection);
            }
        }
        if (failure != 0)
            break;
    }
    ::CloseHandle(readDone);
    std::lock_guard<std::mutex> lock(mutex);
    readerEnded = true;
    arrived.notify_all();
}
