#pragma once

#include <QList>
#include <QString>

// The COM ports of a Windows machine, as QSerialPortInfo tells them: the
// ports the system lists under HARDWARE\DEVICEMAP\SERIALCOMM (every driver
// of a serial port enters its port there), in the order of their numbers,
// with what the Device Manager knows of each (its name there, maker, USB
// ids, serial number), where it knows it.
class WinSerialPortInfo
{
public:
    static QList<WinSerialPortInfo> availablePorts();

    QString portName() const { return name; }             // "COM3"
    QString systemLocation() const { return location; }   // "\\.\COM3"
    QString description() const { return friendlyName; }  // "USB Serial Port (COM3)"
    QString manufacturer() const { return maker; }
    QString serialNumber() const { return serial; }
    bool hasVendorIdentifier() const { return vendorId >= 0; }
    quint16 vendorIdentifier() const { return quint16(qMax(vendorId, 0)); }
    bool hasProductIdentifier() const { return productId >= 0; }
    quint16 productIdentifier() const { return quint16(qMax(productId, 0)); }

private:
    QString name;
    QString location;
    QString friendlyName;
    QString maker;
    QString serial;
    int vendorId = -1;
    int productId = -1;
};
