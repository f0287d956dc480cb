#include "WinSerialPortInfo.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

#include <windows.h>
#include <setupapi.h>

namespace {

// What the Device Manager knows of a port's device.
struct DeviceFacts {
    QString friendlyName;
    QString manufacturer;
    QString serialNumber;
    int vendorId = -1;
    int productId = -1;
};

// A string of at most `size` UTF-16 units, up to its first zero.
QString fromWide(const wchar_t *text, size_t size)
{
    size_t length = 0;
    while (length < size && text[length] != 0)
        ++length;
    return QString::fromWCharArray(text, int(length));
}

QString registryString(HKEY key, const wchar_t *value)
{
    wchar_t text[256];
    DWORD bytes = sizeof text;
    DWORD type = 0;
    if (::RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE *>(text), &bytes) != ERROR_SUCCESS
        || type != REG_SZ)
        return QString();
    return fromWide(text, bytes / sizeof(wchar_t));
}

QString deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA &device, DWORD property)
{
    wchar_t text[512];
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, property, &type, reinterpret_cast<BYTE *>(text),
                                             sizeof text, nullptr))
        return QString();
    return fromWide(text, sizeof text / sizeof(wchar_t)); // a list of strings: its first
}

int hexAfter(const QString &text, const QString &tag)
{
    const QRegularExpressionMatch match =
        QRegularExpression(tag + QStringLiteral("_([0-9A-Fa-f]{4})")).match(text);
    return match.hasMatch() ? match.captured(1).toInt(nullptr, 16) : -1;
}

// The devices of the class "Ports (COM & LPT)", by the port each was given.
QHash<QString, DeviceFacts> portDevices()
{
    static const GUID portsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    QHash<QString, DeviceFacts> devices;
    const HDEVINFO set = ::SetupDiGetClassDevsW(&portsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return devices;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        const HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const QString port = registryString(key, L"PortName").toUpper();
        ::RegCloseKey(key);
        if (port.isEmpty())
            continue;
        DeviceFacts facts;
        facts.friendlyName = deviceProperty(set, device, SPDRP_FRIENDLYNAME);
        if (facts.friendlyName.isEmpty())
            facts.friendlyName = deviceProperty(set, device, SPDRP_DEVICEDESC);
        facts.manufacturer = deviceProperty(set, device, SPDRP_MFG);
        const QString hardwareId = deviceProperty(set, device, SPDRP_HARDWAREID);
        facts.vendorId = hexAfter(hardwareId, QStringLiteral("VID"));
        facts.productId = hexAfter(hardwareId, QStringLiteral("PID"));
        // USB\VID_0403&PID_6001\A601EXYZ: the last part is the adapter's
        // serial number, unless Windows made one up (those hold '&').
        wchar_t instance[512];
        if (facts.vendorId >= 0
            && ::SetupDiGetDeviceInstanceIdW(set, &device, instance, sizeof instance / sizeof(wchar_t), nullptr)) {
            const QString last = fromWide(instance, sizeof instance / sizeof(wchar_t)).section(QLatin1Char('\\'), -1);
            if (!last.contains(QLatin1Char('&')))
                facts.serialNumber = last;
        }
        devices.insert(port, facts);
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return devices;
}

int portNumber(const QString &port)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("(\\d+)$")).match(port);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

QList<WinSerialPortInfo> WinSerialPortInfo::availablePorts()
{
    QList<WinSerialPortInfo> ports;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key)
        != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = sizeof valueName / sizeof(wchar_t);
        wchar_t port[256];
        DWORD bytes = sizeof port;
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE *>(port), &bytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        WinSerialPortInfo info;
        info.name = fromWide(port, bytes / sizeof(wchar_t));
        info.location = QStringLiteral("\\\\.\\") + info.name;
        if (!info.name.isEmpty())
            ports.append(info);
    }
    ::RegCloseKey(key);

    const QHash<QString, DeviceFacts> devices = portDevices();
    for (WinSerialPortInfo &info : ports) {
        const DeviceFacts facts = devices.value(info.name.toUpper());
        info.friendlyName = facts.friendlyName;
        info.maker = facts.manufacturer;
        info.serial = facts.serialNumber;
        info.vendorId = facts.vendorId;
        info.productId = facts.productId;
    }
    // COM2 before COM10, as the Device Manager lists them.
    std::stable_sort(ports.begin(), ports.end(), [](const WinSerialPortInfo &a, const WinSerialPortInfo &b) {
        return portNumber(a.name) < portNumber(b.name);
    });
    return ports;
}
