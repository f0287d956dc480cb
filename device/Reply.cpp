#include "Reply.h"

#include "LinkConstants.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QSerialPort>

namespace Link {

void collectReply(QIODevice &port, QByteArray &reply, int quietTime)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 longest = 2 * qint64(quietTime);
    reply = port.readAll();
    while (reply.size() < maxReplyLength) {
        const qint64 left = longest - clock.elapsed();
        if (left <= 0 || !port.waitForReadyRead(int(qMin<qint64>(quietTime, left))))
            break;
        reply.append(port.readAll());
    }
}

void discardInput(QIODevice &port)
{
    port.readAll();
    if (auto *serialPort = qobject_cast<QSerialPort *>(&port))
        serialPort->clear(QSerialPort::Input);
}

} // namespace Link
