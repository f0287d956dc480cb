#pragma once

#include <QString>
#include <QVector>

// What a user needs to know about a serial port when the radio is not found:
// what the port is, whether it opens, and if not, why and what to do.
namespace Link {

struct PortReport {
    QString name;         // as the program scans it
    QString path;         // the device file
    QString description;  // from the system, where known
    QString manufacturer;
    QString vendorId;     // USB vendor id, four hex digits, where known
    QString productId;
    QString serialNumber;
    bool opens = false;
    QString problem;      // why it does not open, in plain words
    QString fix;          // what to do about it
};

// Every port the program would scan (the platform's, or those named by
// VKR_SERIAL_PORTS), in scan order, each opened once and closed again.
QVector<PortReport> diagnosePorts();

// The same for one port, opened once unless another program locks it.
PortReport diagnosePort(const QString &name);

// What to check when there are no serial ports at all (or the environment
// variable names none).
QString noPortsAdvice();

} // namespace Link
