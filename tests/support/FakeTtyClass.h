#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <utility>

// A tty class folder laid out like the kernel's: each entry a link into a device tree, with a
// `device` link for ports that have hardware and `device/driver` where a driver is bound. Every
// entry has its node in dev(), as udev makes them.
class FakeTtyClass {
public:
    FakeTtyClass() {
        QDir(dir.path()).mkpath(QStringLiteral("class"));
        QDir(dir.path()).mkpath(QStringLiteral("dev"));
    }
    QString root() const { return dir.path() + QStringLiteral("/class"); }
    QString dev() const { return dir.path() + QStringLiteral("/dev"); }

    void add(const QString &name, bool device, bool driver = false, const QByteArray &type = {}) {
        const QString real = dir.path() + QStringLiteral("/devices/") + name;
        QDir().mkpath(real);
        if (device) {
            const QString hw = dir.path() + QStringLiteral("/hw/") + name;
            QDir().mkpath(hw);
            if (driver)
                QDir().mkpath(hw + QStringLiteral("/driver"));
            QFile::link(hw, real + QStringLiteral("/device"));
        }
        if (!type.isNull()) {
            QFile f(real + QStringLiteral("/type"));
            f.open(QIODevice::WriteOnly);
            f.write(type);
        }
        QFile::link(real, root() + QLatin1Char('/') + name);
        QFile(dev() + QLatin1Char('/') + name).open(QIODevice::WriteOnly);
    }

    // A USB adapter: the port's device below the adapter's interface, its driver a link into
    // the drivers folder, the ids (and the serial number, if any) on the USB device above.
    void addUsb(const QString &name, const QByteArray &vendor, const QByteArray &product,
                const QString &driver, const QByteArray &serial = {}) {
        const QString usb = dir.path() + QStringLiteral("/devices/usb1/1-") + name;
        const QString device = usb + QStringLiteral("/1-1:1.0/") + name;
        const QString real = device + QStringLiteral("/tty/") + name;
        const QString drivers = dir.path() + QStringLiteral("/drivers/") + driver;
        QDir().mkpath(real);
        QDir().mkpath(drivers);
        for (const auto &[file, text] :
             {std::pair{"/idVendor", vendor}, {"/idProduct", product}, {"/serial", serial}}) {
            if (text.isEmpty())
                continue;
            QFile f(usb + QLatin1String(file));
            f.open(QIODevice::WriteOnly);
            f.write(text + '\n');
        }
        QFile::link(drivers, device + QStringLiteral("/driver"));
        QFile::link(device, real + QStringLiteral("/device"));
        QFile::link(real, root() + QLatin1Char('/') + name);
        QFile(dev() + QLatin1Char('/') + name).open(QIODevice::WriteOnly);
    }

private:
    QTemporaryDir dir;
};
