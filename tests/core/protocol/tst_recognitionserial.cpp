#include "protocol/Trecognitionserial.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

private:
    QTemporaryDir dir;
};

} // namespace

class TestRecognitionSerial : public QObject {
    Q_OBJECT
private slots:
    void listsPortsWithHardwareInOrder() {
        FakeTtyClass tty;
        tty.add("ttyUSB10", true);
        tty.add("ttyUSB2", true);
        tty.add("ttyUSB3", false);
        tty.add("ttyACM0", true);
        tty.add("ttyS0", true, true, "4\n");
        tty.add("ttyS1", true, true, "0\n");
        tty.add("ttyS2", true, false, "4\n");
        tty.add("ttyS3", true, true);
        tty.add("ttyS11", true, true, "garbage");
        tty.add("tty0", true, true);
        tty.add("console", true, true);
        tty.add("ttyUSBx", true);
        tty.add("ttyAMA0", true, true);

        QStringList expected;
        for (const char *name : {"ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS3", "ttyS11"})
            expected << tty.dev() + '/' + name;
        QCOMPARE(Trecognitionserial(tty.root(), tty.dev()).ports(), expected);
    }

    void noPortsGiveAnEmptyList() {
        FakeTtyClass tty;
        tty.add("ttyS0", true, true, "0\n");
        tty.add("ptmx", false);
        QVERIFY(Trecognitionserial(tty.root()).ports().isEmpty());
        QVERIFY(Trecognitionserial(tty.root() + "/missing").ports().isEmpty());
    }

    // Only a port with a device node can be opened: a container sees the host's ttys in the
    // tty class but has no nodes for them.
    void portsAreDeviceNodes() {
        FakeTtyClass tty;
        tty.add("ttyUSB0", true);
        tty.add("ttyUSB1", true);
        tty.add("ttyS0", true, true, "4\n");
        QVERIFY(QFile::remove(tty.dev() + "/ttyUSB1"));
        QCOMPARE(Trecognitionserial(tty.root(), tty.dev()).ports(),
                 QStringList({tty.dev() + "/ttyUSB0", tty.dev() + "/ttyS0"}));

        // This machine's own ports, where it has any.
        for (const QString &port : Trecognitionserial().ports())
            QVERIFY2(port.startsWith("/dev/tty") && QFile::exists(port), qPrintable(port));
    }
};

QTEST_GUILESS_MAIN(TestRecognitionSerial)
#include "tst_recognitionserial.moc"
