#include "Hex.h"
#include "PagedReader.h"
#include "ProtocolHarness.h"
#include "protocol/Tsingalcmd.h"
#include "protocol/Tsynchronizationtime_sc.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using H = ProtocolHarness;

QByteArray readRequest(int32_t address) {
    return H::frame(0x83, address);
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void singleCommands_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("checking mode") << 4 << hex("23 04 00 00 00 00 00 00 04");
        QTest::newRow("delete history") << 133 << hex("23 85 00 00 00 00 00 00 85");
    }
    void singleCommands() {
        QFETCH(int, code);
        QFETCH(QByteArray, frame);
        H h;
        Tsingalcmd cmd(h.sender, uint8_t(code));
        cmd.Send();
        QCOMPARE(h.sent, QList<QByteArray>{frame});
        QCOMPARE(h.op.statusText, QStringLiteral("Password verifying"));
        QVERIFY(h.receive.tmr1().isEnabled());
    }

    void timeSyncSendsTheClockAsPlainBytes() {
        H h;
        Tsynchronizationtime_sc sync(h.sender, 3);
        sync.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(12, 5, 9)); });
        Tsingalcmd &asSingle = sync; // sent through the base's virtual Send
        asSingle.Send();
        QCOMPARE(h.sent, QList<QByteArray>{hex("23 03 00 00 00 00 00 06 EA 0C 07 0C 05 09 E4")});
        QCOMPARE(h.op.statusText, QStringLiteral("发送同步时间命令"));
        QVERIFY(h.receive.tmr1().isEnabled());
    }

    void clockBytes_data() {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("2026") << QDateTime(QDate(2026, 12, 7), QTime(12, 5, 9))
                              << hex("EA 0C 07 0C 05 09");
        QTest::newRow("1999 new year's eve")
            << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)) << hex("CF 0C 1F 17 3B 3B");
        QTest::newRow("2048 midnight")
            << QDateTime(QDate(2048, 1, 1), QTime(0, 0, 0)) << hex("00 01 01 00 00 00");
    }
    void clockBytes() {
        QFETCH(QDateTime, when);
        QFETCH(QByteArray, bytes);
        const auto b = Tsynchronizationtime_sc::clockBytes(when);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(b.data()), 6), bytes);
    }

    void requestToClosedPortStillArmsTheTimer() {
        H h;
        h.linkOpen = false;
        Tsingalcmd cmd(h.sender, 4);
        cmd.Send();
        QVERIFY(h.sent.isEmpty());
        QCOMPARE(h.op.statusText, QStringLiteral("Password verifying"));
        QVERIFY(h.receive.tmr1().isEnabled());
    }

    void twoPageChainSendsThenFinishesOnce() {
        H h;
        PagedReader basic(h.sender, 0, QStringLiteral("Read settings"));
        h.receive.transfers.basic = &basic;
        basic.startRead(2);
        QCOMPARE(h.sent, QList<QByteArray>{hex("23 83 00 00 00 00 00 00 83")});
        QCOMPARE(h.op.statusText, QStringLiteral("Read settings"));
        QCOMPARE(basic.PageIndex, uint16_t(2));

        h.feed(H::frame(0x83, 0, QByteArray(256, 1)));
        QCOMPARE(h.sent.last(), hex("23 83 00 00 01 00 00 00 82"));
        QCOMPARE(basic.finished, 0);
        h.feed(H::frame(0x83, 0x100, QByteArray(256, 2)));
        QCOMPARE(h.sent.size(), 2);
        QCOMPARE(basic.PageIndex, uint16_t(3));
        QCOMPARE(basic.finished, 1);
    }

    void oneOperationAtATime() {
        H h;
        QSignalSpy running(&h.outcome, &OperationOutcome::runningChanged);
        Tsingalcmd checking(h.sender, 4);
        Tsynchronizationtime_sc sync(h.sender, 3);
        PagedReader basic(h.sender, 0);
        h.receive.transfers.basic = &basic;
        basic.startRead(2);
        // Every other start is refused until the read ends.
        checking.Send();
        sync.Send();
        basic.startRead(2);
        QCOMPARE(h.sent.size(), 1);
        QCOMPARE(basic.PageIndex, uint16_t(2));
        h.feed(H::frame(0x83, 0, QByteArray(256, 1)));
        h.feed(H::frame(0x83, 0x100, QByteArray(256, 2)));
        QCOMPARE(h.sent.size(), 2);
        QCOMPARE(running.count(), 2);
        QCOMPARE(running[0].first().toBool(), true);
        QCOMPARE(running[1].first().toBool(), false);

        checking.Send();
        QCOMPARE(h.sent.size(), 3);
    }

    void continuationBeyondTheEndDoesNothing() {
        H h;
        PagedReader numbers(h.sender, 0x1000);
        numbers.PageCount = 375;
        numbers.PageIndex = 377;
        numbers.RequestNext();
        QVERIFY(h.sent.isEmpty());
        QCOMPARE(numbers.finished, 0);
        QCOMPARE(numbers.PageIndex, uint16_t(377));
    }

    void historyChainRequestsEveryPageInOrder() {
        H h;
        PagedReader history(h.sender, 0x30000, QStringLiteral("Reading historical data"));
        h.receive.transfers.history = &history;
        history.startRead(500);
        for (int p = 1; p <= 500; ++p)
            h.feed(H::frame(0x83, 0x2FF00 + 256 * p, QByteArray(256, char(p))));
        QCOMPARE(h.sent.size(), 500);
        for (int p = 1; p <= 500; ++p)
            QCOMPARE(h.sent[p - 1], readRequest(0x2FF00 + 256 * p));
        QCOMPARE(h.sent.last(), hex("23 83 00 04 F3 00 00 00 74"));
        QCOMPARE(history.finished, 1);
        QCOMPARE(h.op.statusText, QStringLiteral("Reading historical data:500/500"));
        QCOMPARE(h.op.progressPosition, 100);
        QVERIFY(!h.op.progressVisible);
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
