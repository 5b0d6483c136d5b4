#pragma once

#include <QString>
#include <QStringList>

// Lists the machine's serial ports from the kernel's tty class: USB bridges (ttyUSB*), modems
// (ttyACM*) and on-board UARTs (ttyS*) that have hardware behind them, as paths TComm opens.
class Trecognitionserial {
public:
    explicit Trecognitionserial(QString sysfsRoot = QStringLiteral("/sys/class/tty"));

    // USB bridges first (the device hangs on one), then modems, then on-board ports; each kind
    // in number order (ttyUSB2 before ttyUSB10). Empty when there is none.
    QStringList ports() const;

private:
    bool hasHardware(const QString &kind, const QString &name) const;

    QString root;
};
