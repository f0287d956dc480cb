#pragma once

// The serial port the link talks through, under one name on every
// platform: Qt Serial Port's where Qt has it, and on Windows, where this
// program is built without it, a port of its own over the system's
// communications API with the part of QSerialPort's interface the link
// uses (WinSerialPort, WinSerialPortInfo).
#include <QtGlobal>

#ifdef Q_OS_WIN
#include "WinSerialPort.h"
#include "WinSerialPortInfo.h"
using SerialPort = WinSerialPort;
using SerialPortInfo = WinSerialPortInfo;
#else
#include <QSerialPort>
#include <QSerialPortInfo>
using SerialPort = QSerialPort;
using SerialPortInfo = QSerialPortInfo;
#endif
