#include "protocol/Trecognitionserial.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A tty class folder laid out like the kernel's: each entry a link into a device tree, with a
// `device` link for ports that have hardware and `device/driver` where a driver is bound.
class FakeTtyClass {
public:
    FakeTtyClass() { QDir(dir.path()).mkpath(QStringLiteral("class")); }
    QString root() const { return dir.path() + QStringLiteral("/class"); }

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

        const QStringList expected = {"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0",
                                      "/dev/ttyS0",   "/dev/ttyS3",    "/dev/ttyS11"};
        QCOMPARE(Trecognitionserial(tty.root()).ports(), expected);
    }

    void noPortsGiveAnEmptyList() {
        FakeTtyClass tty;
        tty.add("ttyS0", true, true, "0\n");
        tty.add("ptmx", false);
        QVERIFY(Trecognitionserial(tty.root()).ports().isEmpty());
        QVERIFY(Trecognitionserial(tty.root() + "/missing").ports().isEmpty());
    }

    void machinePortsAreDevicePaths() {
        for (const QString &port : Trecognitionserial().ports())
            QVERIFY2(port.startsWith("/dev/tty") && QFile::exists(port), qPrintable(port));
    }
};

QTEST_GUILESS_MAIN(TestRecognitionSerial)
#include "tst_recognitionserial.moc"
