#pragma once

#include <QByteArray>

// The bytes of the radio's protocol as a radio of the series sends and
// expects them, written out here: the link and the virtual radio share
// their constants, so a test that took its expected bytes from those would
// pass with a wrong one.
namespace Wire {

inline const QByteArray pingCommand = QByteArray::fromHex("02721062");
inline const QByteArray pingAnswer = QByteArray::fromHex("027241");
inline const QByteArray identifyCommand = QByteArray::fromHex("0250");
inline const QByteArray readCommand = QByteArray::fromHex("0254");
inline const QByteArray writeCommand = QByteArray::fromHex("024D");
inline const QByteArray ack = QByteArray::fromHex("06");
inline const QByteArray nak = QByteArray::fromHex("15");
inline const QByteArray frameStart = QByteArray::fromHex("02");
inline const QByteArray writeEnd = QByteArray::fromHex("04");
// A channel as the radio sends it in a read: MHz, kHz / 5, eight name bytes.
constexpr int frameLength = 10;
inline const QByteArray emptyChannel = QByteArray::fromHex("76 00 20 20 20 20 20 20 20 20");

} // namespace Wire
