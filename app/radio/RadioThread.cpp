#include "RadioThread.h"

#include "RadioConnection.h"
#include "SerialPorts.h"

#include <QThread>

RadioThread::RadioThread(QObject *parent)
    : QObject(parent)
    , thread(new QThread(this))
    , context(new QObject)
{
    context->moveToThread(thread);
    // The connection is made by the first job and destroyed as the thread
    // ends, both on the radio's thread, where its port belongs.
    connect(thread, &QThread::finished, context, [this] { connection.reset(); }, Qt::DirectConnection);
    connect(thread, &QThread::finished, context, &QObject::deleteLater, Qt::DirectConnection);
    thread->start();
}

RadioThread::~RadioThread()
{
    shutDown();
}

void RadioThread::run(const Job &job)
{
    stop = false;
    QMetaObject::invokeMethod(
        context,
        [this, job] {
            if (!connection) {
                connection = std::make_unique<RadioConnection>();
                watchPort(*connection);
            }
            job(*connection);
        },
        Qt::QueuedConnection);
}

void RadioThread::shutDown()
{
    if (!thread->isRunning())
        return;
    stop = true;
    thread->quit();
    thread->wait();
}

// A radio that vanished (unplugged, its adapter pulled) leaves the port
// failing to read on every turn of the event loop. The error is looked at
// once the job that met it has ended (the queued connection), and only if
// the port still fails then: a port closed, or opened afresh, since then
// has no error and is left alone. A read that found nothing, where the line
// is still there, lost nothing: bytes that came between two transfers may
// be taken by the next transfer's own read before the event loop's turns
// up empty.
void RadioThread::watchPort(RadioConnection &radio)
{
    QObject::connect(
        &radio.port(), &SerialPort::errorOccurred, context,
        [this, &radio] {
            SerialPort &port = radio.port();
            const SerialPort::SerialPortError error = port.error();
            if (!port.isOpen() || (error != SerialPort::ResourceError && error != SerialPort::ReadError))
                return;
            if (error == SerialPort::ReadError && !Link::lineHungUp(port)) {
                port.clearError();
                return;
            }
            radio.close();
            QMetaObject::invokeMethod(this, [this] {
                if (portVanished)
                    portVanished();
            }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}
