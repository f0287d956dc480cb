// Prints the process id of the live lock on the port named on the command
// line (0 for none) as the link sees it: run as another user by
// tst_port_lock, to see a lock of a process that user may not signal.
#include "PortLock.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const Link::PortLock lock = Link::liveLockOf(QString::fromLocal8Bit(argv[1]));
    std::printf("%lld\n", static_cast<long long>(lock.pid));
    return 0;
}
