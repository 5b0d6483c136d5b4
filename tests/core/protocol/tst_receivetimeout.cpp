#include "Hex.h"
#include "PagedReader.h"
#include "ProtocolHarness.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

using H = ProtocolHarness;
constexpr int Interval = 150;

QList<QPair<bool, QString>> timeoutOnce() {
    return {{false, QStringLiteral("Receive timeout")}};
}

} // namespace

// The receive timer with a shortened interval.
class TestReceiveTimeout : public QObject {
    Q_OBJECT
private slots:
    void noReplyTimesOutOnceAndHidesProgress() {
        H h;
        h.receive.tmr1().setInterval(Interval);
        h.progress.set(40);
        h.sender.send(4, 0, QStringLiteral("Password verifying"));
        QVERIFY(h.receive.tmr1().isEnabled());
        QTRY_COMPARE(h.outcomes, timeoutOnce());
        QCOMPARE(h.op.messages.first().title, QString());
        QCOMPARE(h.op.statusText, QString());
        QCOMPARE(h.op.progressPosition, 100);
        QVERIFY(!h.op.progressVisible);
        QVERIFY(!h.receive.tmr1().isEnabled());
        QTest::qWait(3 * Interval);
        QCOMPARE(h.outcomes, timeoutOnce());
    }

    void clearingPanelAfterTimeoutDoesNotStartStatusTimer() {
        H h;
        h.status.setInterval(Interval / 5);
        h.receive.tmr1().setInterval(Interval);
        h.sender.send(4, 0, QStringLiteral("Password verifying"));
        QTRY_VERIFY(!h.status.timerActive()); // the status timer has cleared the panel
        QTRY_COMPARE(h.outcomes, timeoutOnce());
        QVERIFY(!h.status.timerActive());
    }

    void timerKeepsRunningWhileSendingAgain() {
        // Enabling an enabled timer does not restart its count: two requests close together
        // time out once, an interval after the first.
        H h;
        h.receive.tmr1().setInterval(4 * Interval);
        QElapsedTimer clock;
        clock.start();
        h.sender.send(4, 0, QStringLiteral("a"));
        QTest::qWait(2 * Interval);
        h.sender.send(4, 0, QStringLiteral("b"));
        QTRY_COMPARE_WITH_TIMEOUT(h.outcomes, timeoutOnce(), 20 * Interval);
        QVERIFY2(clock.elapsed() < 6 * Interval, qPrintable(QString::number(clock.elapsed())));
    }

    void lateReplyAfterTimeoutIsIgnored() {
        H h;
        h.receive.tmr1().setInterval(Interval);
        PagedReader basic(h.sender, 0x100);
        h.receive.transfers.basic = &basic;
        basic.startRead(1);
        QTRY_COMPARE(h.outcomes, timeoutOnce());
        h.feed(H::frame(0x83, 0x100, QByteArray(256, 1)));
        QCOMPARE(h.op.statusText, QStringLiteral("Undefined data"));
        QVERIFY(basic.replyAddresses.isEmpty());
        QCOMPARE(h.outcomes, timeoutOnce());
        QVERIFY(!h.receive.tmr1().isEnabled());
    }

    void shorteningTheIntervalShortensACountUnderWay() {
        H h;
        h.receive.tmr1().setInterval(600 * 1000);
        h.sender.send(4, 0, QStringLiteral("Password verifying"));
        h.receive.tmr1().setInterval(Interval);
        QTRY_COMPARE(h.outcomes, timeoutOnce());
    }

    void goodReplyStopsTheTimer() {
        H h;
        h.receive.tmr1().setInterval(Interval);
        h.sender.send(4, 0, QStringLiteral("Password verifying"));
        h.feed(H::frame(4, 0, hex("01")));
        QVERIFY(!h.receive.tmr1().isEnabled());
        QTest::qWait(3 * Interval);
        QCOMPARE(h.op.messageTexts(), QStringList{"Enter"});
    }

    void noiseWithoutRequestLeavesTimerOff() {
        // A lone start byte while nothing is awaited is noise too: no timeout, and the next
        // request's reply is not appended to it.
        H h;
        h.receive.tmr1().setInterval(Interval);
        h.feed(hex("00 01 23 02"));
        QVERIFY(!h.receive.tmr1().isEnabled());
        QTest::qWait(3 * Interval);
        QVERIFY(h.outcomes.isEmpty());
        h.request(4, 0);
        h.feed(H::frame(4, 0, hex("01")));
        QCOMPARE(h.op.messageTexts(), QStringList{"Enter"});
    }

    void brokenReplyEndsInTimeoutAndNextReplyIsClean_data() {
        QTest::addColumn<QByteArray>("reply");
        const QByteArray good = H::frame(0x83, 0x30000, QByteArray(256, 7));
        QByteArray bad = good;
        bad[100] = char(bad[100] ^ 1);
        QTest::newRow("cut off") << good.left(120);
        QTest::newRow("bad checksum") << bad;
        QTest::newRow("header only") << good.left(5);
        QTest::newRow("noise") << hex("00 11 22");
    }
    void brokenReplyEndsInTimeoutAndNextReplyIsClean() {
        QFETCH(QByteArray, reply);
        H h;
        h.receive.tmr1().setInterval(Interval);
        PagedReader history(h.sender, 0x30000);
        history.continueOnReply = false;
        h.receive.transfers.history = &history;
        history.startRead(500);
        h.feed(reply);
        QVERIFY(h.receive.tmr1().isEnabled());
        QTRY_COMPARE(h.outcomes, timeoutOnce());
        QVERIFY(!h.rec.receiving());

        // The operator starts again; the reply is taken whole.
        history.startRead(500);
        h.feed(H::frame(0x83, 0x30000, QByteArray(256, 9)));
        QCOMPARE(history.firstBytes, QList<uint8_t>{9});
        QTest::qWait(2 * Interval);
        QCOMPARE(h.outcomes, timeoutOnce());
    }

    void aChatteringLineStillTimesOut_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("repeated");
        QTest::newRow("noise") << hex("00 55 0d 0a 24 47 50") << true;
        QTest::newRow("start byte flood") << hex("23") << true;
        QTest::newRow("replies to another page")
            << H::frame(0x83, 0x30100, QByteArray(256, 1)) << true;
        // Each byte is progress on the awaited reply, but the whole takes far past its limit.
        QTest::newRow("awaited reply dribbled")
            << H::frame(0x83, 0x30000, QByteArray(256, 1)) << false;
    }
    void aChatteringLineStillTimesOut() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, repeated);
        H h;
        h.receive.tmr1().setInterval(Interval);
        h.request(0x83, 0x30000);
        for (int i = 0; h.outcomes.isEmpty() && i < 600; ++i) {
            if (repeated || i < bytes.size())
                h.feed(bytes.mid(i % bytes.size(), 1));
            QTest::qWait(5);
        }
        QCOMPARE(h.outcomes, timeoutOnce());
    }

    void timeoutClearsPendingPasswordCheck() {
        H h;
        h.receive.tmr1().setInterval(Interval);
        PagedReader basic(h.sender, 0);
        basic.continueOnReply = false;
        h.receive.transfers.basic = &basic;
        h.password.setPending(true);
        h.linkOpen = false; // the port is closed: the request goes nowhere
        h.sender.send(0x83, 0, QStringLiteral("Read settings"));
        QTRY_COMPARE(h.outcomes, timeoutOnce());
        QVERIFY(!h.password.Pending());

        // The next settings read reply belongs to the settings transfer again.
        h.linkOpen = true;
        basic.startRead(1);
        h.feed(H::frame(0x83, 0, QByteArray(256, 3)));
        QCOMPARE(basic.replyAddresses, QList<int32_t>{0});
        QCOMPARE(h.op.messageTexts(), QStringList{"Receive timeout"});
    }
};

QTEST_GUILESS_MAIN(TestReceiveTimeout)
#include "tst_receivetimeout.moc"
