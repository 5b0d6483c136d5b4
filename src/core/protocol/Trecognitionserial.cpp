#include "protocol/Trecognitionserial.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QStringList kinds = {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"),
                           QStringLiteral("ttyS")};

// How far above the port's device the USB device with the ids may sit: a ttyUSB hangs below its
// interface, a ttyACM is the interface itself.
constexpr int UsbDeviceSearchDepth = 4;

struct Port {
    int rank;
    qulonglong number;
    SerialPortInfo info;
};

// A small sysfs attribute; sysfs files hold one short line.
QByteArray readAttribute(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(64).trimmed();
}

QString usbId(const QString &path) {
    static const QRegularExpression fourHex(QStringLiteral("^[0-9a-fA-F]{4}$"));
    const QString id = QString::fromLatin1(readAttribute(path)).toLower();
    return fourHex.match(id).hasMatch() ? id : QString();
}

} // namespace

QString SerialPortInfo::description() const {
    QString text = name;
    if (!driver.isEmpty()) {
        // The kernel names the device's own bridge in lower case.
        text += QStringLiteral(" — ") +
                (driver == QLatin1String("cp210x") ? QStringLiteral("CP210x") : driver);
    }
    if (!vendorId.isEmpty() && !productId.isEmpty())
        text += QStringLiteral(" (%1:%2)").arg(vendorId, productId);
    return text;
}

bool SerialPortInfo::isDeviceBridge() const {
    return vendorId == QLatin1String("10c4");
}

Trecognitionserial::Trecognitionserial(QString sysfsRoot, QString devRoot)
    : root(std::move(sysfsRoot))
    , dev(std::move(devRoot)) {}

bool Trecognitionserial::hasHardware(const QString &kind, const QString &name) const {
    const QString entry = root + QLatin1Char('/') + name;
    if (kind != QLatin1String("ttyS"))
        return QFileInfo::exists(entry + QStringLiteral("/device"));
    // The 8250 driver registers a fixed number of ttyS lines whether or not a UART answers;
    // those without one have no driver bound or report type 0 (unknown).
    if (!QFileInfo::exists(entry + QStringLiteral("/device/driver")))
        return false;
    QFile type(entry + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return true;
    bool isNumber = false;
    const int value = type.read(32).trimmed().toInt(&isNumber);
    return !isNumber || value != 0;
}

void Trecognitionserial::describe(SerialPortInfo &port) const {
    const QString device = root + QLatin1Char('/') + port.name + QStringLiteral("/device");
    const QString driverLink = QFileInfo(device + QStringLiteral("/driver")).symLinkTarget();
    if (!driverLink.isEmpty())
        port.driver = QFileInfo(driverLink).fileName();
    QDir dir(QFileInfo(device).canonicalFilePath());
    if (dir.path().isEmpty() || dir.path() == QLatin1String("."))
        return;
    for (int level = 0; level <= UsbDeviceSearchDepth; ++level) {
        if (dir.exists(QStringLiteral("idVendor"))) {
            port.vendorId = usbId(dir.filePath(QStringLiteral("idVendor")));
            port.productId = usbId(dir.filePath(QStringLiteral("idProduct")));
            port.serialNumber =
                QString::fromUtf8(readAttribute(dir.filePath(QStringLiteral("serial"))));
            return;
        }
        if (!dir.cdUp())
            return;
    }
}

QStringList Trecognitionserial::ports() const {
    QStringList out;
    for (const SerialPortInfo &p : list())
        out << p.path;
    return out;
}

QList<SerialPortInfo> Trecognitionserial::list() const {
    static const QRegularExpression pattern(QStringLiteral("^(ttyUSB|ttyACM|ttyS)(\\d{1,9})$"));
    QList<Port> found;
    const QStringList names =
        QDir(root).entryList(QDir::Dirs | QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch() || !hasHardware(m.captured(1), name) ||
            !QFileInfo::exists(dev + QLatin1Char('/') + name))
            continue;
        SerialPortInfo info{dev + QLatin1Char('/') + name, name, {}, {}, {}, {}};
        // An on-board UART's driver (serial8250, "port") tells the operator nothing.
        if (m.captured(1) != QLatin1String("ttyS"))
            describe(info);
        const int rank = info.isDeviceBridge() ? -1 : int(kinds.indexOf(m.captured(1)));
        found.append({rank, m.captured(2).toULongLong(), info});
    }
    std::sort(found.begin(), found.end(), [](const Port &a, const Port &b) {
        return a.rank != b.rank ? a.rank < b.rank : a.number < b.number;
    });
    QList<SerialPortInfo> out;
    for (const Port &p : found)
        out << p.info;
    return out;
}
