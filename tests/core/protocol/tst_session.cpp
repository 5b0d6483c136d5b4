#include "Hex.h"
#include "ProtocolHarness.h"
#include "PseudoTerminal.h"
#include "RecordingOperator.h"
#include "Session.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray settingsPage(const QByteArray &password) {
    return password + QByteArray(256 - password.size(), char(0xFF));
}

} // namespace

// The session over a pseudo-terminal, with the test playing the device.
class TestSession : public QObject {
    Q_OBJECT
private slots:
    void linkIsConfiguredAsTheWindowsLink() {
        RecordingOperator op;
        Session s(op);
        QCOMPARE(s.cm1().BaudRate(), 115200);
        QCOMPARE(s.cm1().ByteSize(), TComm::ByteSizes::_8);
        QCOMPARE(s.cm1().Parity(), TComm::Parities::None);
        QCOMPARE(s.cm1().StopBits(), TComm::StopBitsKind::_1);
        QVERIFY(!s.cm1().Outx_CtsFlow() && !s.cm1().Outx_XonXoffFlow());
        QCOMPARE(s.cm1().InputLen(), quint16(1));
        QCOMPARE(s.cm1().InBufferSize(), quint16(2048));
        QCOMPARE(s.cm1().PortOpenError(), QStringLiteral("Error opening serial port"));
        QVERIFY(s.statusBar().timerActive());
    }

    // What both fronts show beneath "COM Port error", for a refusal the link raises and for one
    // it only notes.
    void failedOpenSaysWhy_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no name") << ""
                                 << "No port chosen";
        QTest::newRow("missing") << "/dev/ttyNoSuchPort7"
                                 << "No such device — the adapter is not plugged in (or was "
                                    "unplugged)";
        QTest::newRow("not a terminal") << "/dev/null"
                                        << "/dev/null is not a serial port";
    }
    void failedOpenSaysWhy() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        RecordingOperator op;
        Session s(op);
        const Result<void> opened = s.openPort(path);
        QVERIFY(!opened);
        QCOMPARE(opened.reason(), reason);
        QVERIFY(!s.cm1().PortOpen());
    }

    void loginReadsThePasswordFromTheDevice_data() {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::newRow("match") << QByteArray("7482") << "7482" << true;
        QTest::newRow("wrong") << QByteArray("7482") << "7483" << false;
    }
    void loginReadsThePasswordFromTheDevice() {
        QFETCH(QByteArray, device);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        RecordingOperator op;
        Session s(op);
        QSignalSpy unlocked(&s, &Session::operationsUnlocked);
        QSignalSpy ended(&s, &Session::operationEnded);
        s.cm1().setCommName(pty.slavePath());
        s.cm1().OpenPort();
        QVERIFY(s.cm1().PortOpen());

        op.clearHistory();
        s.login(typed);
        QVERIFY(s.passwordCheck().Pending());
        QCOMPARE(pty.read(9), hex("23 83 00 00 00 00 00 00 83"));
        QVERIFY(pty.writeAll(ProtocolHarness::frame(0x83, 0, settingsPage(device))));
        QTRY_COMPARE(ended.count(), 1);
        const QString text = ok ? "Password confirmed!" : "Password Error!";
        QCOMPARE(ended.first().at(0).toBool(), ok);
        QCOMPARE(ended.first().at(1).toString(), text);
        QCOMPARE(op.messageTexts(), QStringList{text});
        QCOMPARE(unlocked.count(), 1);
        QCOMPARE(unlocked.first().first().toBool(), ok);
        QVERIFY(!s.passwordCheck().Pending());
        QCOMPARE(op.statusTexts, (QStringList{"Read settings", "Password verifing",
                                              "Data communication", "Reading basic setting"}));
    }

    void loginWithThePortClosedTimesOut() {
        RecordingOperator op;
        Session s(op);
        s.receivePath().tmr1().setInterval(100);
        QSignalSpy ended(&s, &Session::operationEnded);
        s.login("7482");
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.first().at(0).toBool(), false);
        QCOMPARE(op.messageTexts(), QStringList{"Receive timeout"});
        QVERIFY(!s.passwordCheck().Pending());
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
