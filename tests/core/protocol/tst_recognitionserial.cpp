#include "FakeTtyClass.h"
#include "protocol/Trecognitionserial.h"

#include <QFile>
#include <QTest>

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

    // The controller's bridge comes first whatever its number; other adapters keep their kind's
    // place. A bridge of another vendor under the same driver is not the controller's.
    void describesAdaptersAndPutsTheBridgeFirst() {
        FakeTtyClass tty;
        tty.addUsb("ttyACM0", "2341", "0043", "cdc_acm");
        tty.addUsb("ttyUSB0", "0403", "6001", "ftdi_sio");
        tty.addUsb("ttyUSB3", "10C4", "EA60", "cp210x");
        tty.addUsb("ttyUSB4", "10c4-", "ea60", "cp210x");
        tty.add("ttyS0", true, true, "4\n");
        tty.add("ttyS1", true, true, "0\n");

        QStringList described;
        for (const SerialPortInfo &p : Trecognitionserial(tty.root(), tty.dev()).list())
            described << p.path.mid(tty.dev().size() + 1) + " | " + p.description();
        QCOMPARE(
            described,
            QStringList({"ttyUSB3 | ttyUSB3 — CP210x (10c4:ea60)",
                         "ttyUSB0 | ttyUSB0 — ftdi_sio (0403:6001)", "ttyUSB4 | ttyUSB4 — CP210x",
                         "ttyACM0 | ttyACM0 — cdc_acm (2341:0043)", "ttyS0 | ttyS0"}));
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
