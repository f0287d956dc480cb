#pragma once

#include "SerialPort.h"

#include <QStringList>

namespace Link {

// The environment variable that replaces the machine's port list: its
// entries, separated by the platform's path-list separator (":" on Unix,
// ";" on Windows), are the ports; set but empty means no ports at all.
constexpr char portListVariable[] = "VKR_SERIAL_PORTS";

// The names of the serial ports to scan, in order: those of the
// environment variable when it is set, else the platform's ports. A device
// listed under several names (a link to it) is there once, under its
// first name.
QStringList serialPortNames();

// 9600 baud both ways, 8 data bits, no parity, 1 stop bit, no flow control.
// The port keeps them across close and open.
void applyLineSettings(SerialPort &port);

// Whether the open port's line is gone: a terminal hung up (a radio's
// adapter pulled, the far end of a pseudo-terminal closed) reads as
// nothing forever. A read that found nothing on a live line (the event
// loop told of bytes another read took first) is no such loss. Where the
// platform cannot tell, every failed read counts as a lost line.
bool lineHungUp(SerialPort &port);

} // namespace Link
