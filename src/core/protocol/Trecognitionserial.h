#pragma once

#include <QString>
#include <QStringList>

// Lists the machine's serial ports from the kernel's tty class: USB bridges (ttyUSB*), modems
// (ttyACM*) and on-board UARTs (ttyS*) that have hardware behind them and a device node under
// `devRoot`, as paths TComm opens. A container sees the host's ttys but has no nodes for them.
class Trecognitionserial {
public:
    explicit Trecognitionserial(QString sysfsRoot = QStringLiteral("/sys/class/tty"),
                                QString devRoot = QStringLiteral("/dev"));

    // USB bridges first (the device hangs on one), then modems, then on-board ports; each kind
    // in number order (ttyUSB2 before ttyUSB10). Empty when there is none.
    QStringList ports() const;

private:
    bool hasHardware(const QString &kind, const QString &name) const;

    QString root;
    QString dev;
};
