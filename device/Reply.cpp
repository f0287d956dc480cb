#include "Reply.h"

#include "LinkConstants.h"

#include <QIODevice>

namespace Link {

void collectReply(QIODevice &port, QByteArray &reply, int quietTime)
{
    reply = port.readAll();
    while (reply.size() < maxReplyLength && port.waitForReadyRead(quietTime))
        reply.append(port.readAll());
}

} // namespace Link
