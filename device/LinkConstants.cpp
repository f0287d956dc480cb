#include "LinkConstants.h"

namespace Link {

namespace {
QByteArray bytes(std::initializer_list<unsigned char> values)
{
    QByteArray result;
    for (unsigned char value : values)
        result.append(static_cast<char>(value));
    return result;
}
} // namespace

const QByteArray pingCommand = bytes({0x02, 0x72, 0x10, 0x62});
const QByteArray pingAnswer = bytes({0x02, 0x72, 0x41});
const QByteArray identifyCommand = bytes({0x02, 0x50});
const QByteArray readMemoryCommand = bytes({0x02, 0x54});
const QByteArray writeMemoryCommand = bytes({0x02, 0x4D});
const QByteArray ackByte(1, ackValue);
const QByteArray stxByte(1, stxValue);
const QByteArray eotByte(1, eotValue);

} // namespace Link
