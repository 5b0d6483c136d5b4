#include "FakeTtyClass.h"
#include "PortComboBox.h"
#include "RecordingOperator.h"
#include "SimulatedDevice.h"
#include "TForm1.h"
#include "TraceWindow.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QStringList shown(const QComboBox &box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

} // namespace

class TestPortList : public QObject {
    Q_OBJECT
private slots:
    // The controller's bridge leads and is chosen; its path, not its description, is opened.
    void bridgeFirstAndChosen() {
        FakeTtyClass tty;
        tty.add("ttyS0", true, true, "0\n");
        tty.addUsb("ttyACM0", "2341", "0043", "cdc_acm");
        tty.addUsb("ttyUSB0", "10c4", "ea60", "cp210x");
        PortComboBox box(Trecognitionserial(tty.root(), tty.dev()));
        QCOMPARE(shown(box),
                 QStringList({"ttyUSB0 — CP210x (10c4:ea60)", "ttyACM0 — cdc_acm (2341:0043)"}));
        QCOMPARE(box.currentIndex(), 0);
        QCOMPARE(box.portPath(), tty.dev() + "/ttyUSB0");
    }

    // Plugged in while the window is open: the list follows without a restart, the operator's
    // typing stays until the controller's own bridge appears, which is then chosen.
    void followsAdaptersPluggedIn() {
        FakeTtyClass tty;
        PortComboBox box(Trecognitionserial(tty.root(), tty.dev()));
        QCOMPARE(box.count(), 0);
        box.setEditText("/dev/ttyMine");

        tty.addUsb("ttyACM0", "2341", "0043", "cdc_acm");
        QTRY_COMPARE(shown(box), QStringList{"ttyACM0 — cdc_acm (2341:0043)"});
        QCOMPARE(box.portPath(), QStringLiteral("/dev/ttyMine"));

        tty.addUsb("ttyUSB1", "10c4", "ea60", "cp210x");
        QTRY_COMPARE(box.count(), 2);
        QCOMPARE(box.currentText(), QStringLiteral("ttyUSB1 — CP210x (10c4:ea60)"));
        QCOMPARE(box.portPath(), tty.dev() + "/ttyUSB1");

        // Another adapter leaves the choice alone; an offered terminal stays on top.
        box.offer(tty.dev() + "/ttyACM0");
        tty.addUsb("ttyUSB2", "0403", "6001", "ftdi_sio");
        QTRY_COMPARE(box.count(), 3);
        QCOMPARE(shown(box), QStringList({tty.dev() + "/ttyACM0", "ttyUSB1 — CP210x (10c4:ea60)",
                                          "ttyUSB2 — ftdi_sio (0403:6001)"}));
        QCOMPARE(box.portPath(), tty.dev() + "/ttyACM0");
    }

    // Ctrl+Shift+T opens the trace, which shows the login's request and reply.
    void traceWindowShowsTheLogin() {
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(op);
        w.offerPort(device.slavePath());
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        auto *trace = w.findChild<TraceWindow *>();
        QVERIFY(trace && trace->isVisible());

        QTest::mouseClick(w.btn8(), Qt::LeftButton);
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QTest::mouseClick(w.btn1(), Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        const QStringList lines = trace->text().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].endsWith("→ 83 read 0x000000  23 83 00 00 00 00 00 00 83"),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains("← 83 0x000000 256 bytes ok  23 83 00 00 00 00 01 00 37 34"),
                 qPrintable(lines[1]));
    }
};

QTEST_MAIN(TestPortList)
#include "tst_portlist.moc"
