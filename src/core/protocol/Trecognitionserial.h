#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One serial port as the kernel describes it: the node TComm opens and, for a USB adapter, the
// driver bound to it and the USB ids and serial number of the adapter.
struct SerialPortInfo {
    QString path; // the node under the /dev root
    QString name; // "ttyUSB0"
    QString driver;
    QString vendorId; // four lower-case hex digits, empty when unknown
    QString productId;
    QString serialNumber; // the USB adapter's own serial number, empty when it has none

    // "ttyUSB0 — CP210x (10c4:ea60)"; the bare name where sysfs tells nothing more.
    QString description() const;
    // The controller's own USB bridge, a Silicon Labs CP210x.
    bool isDeviceBridge() const;
};

// Lists the machine's serial ports from the kernel's tty class: USB bridges (ttyUSB*), modems
// (ttyACM*) and on-board UARTs (ttyS*) that have hardware behind them and a device node under
// `devRoot`, as paths TComm opens. A container sees the host's ttys but has no nodes for them.
class Trecognitionserial {
public:
    explicit Trecognitionserial(QString sysfsRoot = QStringLiteral("/sys/class/tty"),
                                QString devRoot = QStringLiteral("/dev"));

    // The controller's bridges first, then USB bridges, then modems, then on-board ports; each
    // kind in number order (ttyUSB2 before ttyUSB10). Empty when there is none.
    QList<SerialPortInfo> list() const;
    // The paths of list(), in its order.
    QStringList ports() const;

    QString sysfsRoot() const { return root; }
    QString devRoot() const { return dev; }

private:
    bool hasHardware(const QString &kind, const QString &name) const;
    void describe(SerialPortInfo &port) const;

    QString root;
    QString dev;
};
