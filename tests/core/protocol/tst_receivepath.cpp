#include "PagedReader.h"
#include "ProtocolHarness.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using H = ProtocolHarness;

QByteArray page(uint8_t first, uint8_t fill = 0) {
    QByteArray data(256, char(fill));
    data[0] = char(first);
    return data;
}

} // namespace

class TestReceivePath : public QObject {
    Q_OBJECT
private slots:
    void noiseBeforeStartIsDroppedButShown() {
        H h;
        h.feed(H::hex("00 FF 11"));
        QCOMPARE(h.op.statusText, QStringLiteral("Data communication"));
        QVERIFY(!h.rec.receiving());
        QVERIFY(!h.receive.tmr1().Enabled());
        QVERIFY(h.op.messages.isEmpty());

        // Noise followed by a frame: only the frame counts.
        h.feed(H::hex("55") + H::frame(4, 0, H::hex("01")));
        QCOMPARE(h.op.messageTexts(), QStringList{"Enter"});
    }

    void emptyFrameCompletesOnItsEighthByte() {
        H h;
        const QByteArray f = H::frame(0x99, 0);
        QCOMPARE(f.size(), 9);
        h.feed(f.left(8));
        QVERIFY(h.rec.receiving());
        QCOMPARE(h.op.statusText, QStringLiteral("Data communication"));
        h.feed(f.right(1));
        QVERIFY(!h.rec.receiving());
        QCOMPARE(h.op.statusText, QStringLiteral("Undefined data"));
        QCOMPARE(h.valid.command, uint8_t(0x99));
        QCOMPARE(h.valid.length, uint16_t(0));
    }

    void startByteInsideAFrameIsData() {
        H h;
        PagedReader history(h.sender, 0x30000);
        history.continueOnReply = false;
        h.receive.transfers.history = &history;
        const QByteArray data = page(0x23, 0x23);
        h.feed(H::frame(0x83, 0x32300, data));
        QCOMPARE(history.replyAddresses, QList<int32_t>{0x32300});
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(history.ReplyData), 256), data);
        QCOMPARE(h.valid.address, 0x32300);
        QCOMPARE(h.valid.length, uint16_t(256));
    }

    void badChecksumShowsInvalidDataAndNextFrameStartsClean() {
        H h;
        QByteArray bad = H::frame(0x85, 0, H::hex("01"));
        bad[bad.size() - 1] = char(bad.back() ^ 0x40);
        h.feed(bad);
        QCOMPARE(h.op.statusText, QStringLiteral("Invalid data"));
        QVERIFY(h.op.messages.isEmpty());
        QVERIFY(!h.rec.receiving());
        h.feed(H::frame(0x85, 0, H::hex("01")));
        QCOMPARE(h.op.messageTexts(), QStringList{"Historical data deleted"});
    }

    void oversizeLengthIsDroppedUntilNextStartByte() {
        H h;
        // A declared length of 0x0101 bytes does not fit: nothing of it may be stored.
        h.feed(H::hex("23 83 00 00 00 00 01 01") + QByteArray(600, 0x11));
        QVERIFY(!h.rec.receiving());
        QVERIFY(h.op.messages.isEmpty());
        h.feed(H::frame(4, 0, H::hex("01")));
        QCOMPARE(h.op.messageTexts(), QStringList{"Enter"});
    }

    void singleCommandReplies_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("ok");
        const QString sync = "Receives the data synchronization command returns";
        QTest::newRow("time sync ok") << 3 << 1 << sync << "1同步时间返回正确" << true;
        QTest::newRow("time sync refused") << 3 << 0 << sync << "0同步时间返回错误" << false;
        QTest::newRow("checking ok") << 4 << 1 << "Checking mode"
                                     << "Enter" << true;
        QTest::newRow("checking refused") << 4 << 2 << "Checking mode"
                                          << "Error" << false;
        QTest::newRow("delete ok") << 0x85 << 1 << "Delete command"
                                   << "Historical data deleted" << true;
        QTest::newRow("delete refused") << 0x85 << 0 << "Delete command"
                                        << "Historical data delet error" << false;
    }
    void singleCommandReplies() {
        QFETCH(int, command);
        QFETCH(int, first);
        QFETCH(QString, status);
        QFETCH(QString, message);
        QFETCH(bool, ok);
        H h;
        h.feed(H::frame(uint8_t(command), 0, QByteArray(1, char(first))));
        QCOMPARE(h.op.statusText, status);
        QCOMPARE(h.op.messageTexts(), QStringList{message});
        QCOMPARE(h.op.messages.first().title, QString());
        QCOMPARE(h.outcomes, (QList<QPair<bool, QString>>{{ok, message}}));
    }

    void unknownCommandIsUndefinedData() {
        H h;
        h.feed(H::frame(0x42, 0x100, H::hex("01")));
        QCOMPARE(h.op.statusText, QStringLiteral("Undefined data"));
        QVERIFY(h.op.messages.isEmpty());
    }

    void settingsWriteReplyContinuesOrFails_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("continued");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("accepted") << 1 << 1 << QStringList{};
        QTest::newRow("refused") << 0 << 0 << QStringList{"Basic setting error"};
    }
    void settingsWriteReplyContinuesOrFails() {
        QFETCH(int, first);
        QFETCH(int, continued);
        QFETCH(QStringList, messages);
        H h;
        PagedReader basic(h.sender, 0);
        h.receive.transfers.basic = &basic;
        h.feed(H::frame(0x82, 0x100, QByteArray(1, char(first))));
        QCOMPARE(h.op.statusText, QStringLiteral("Save basic settings"));
        QCOMPARE(basic.ReplyAddress, 0x100);
        QCOMPARE(basic.sendNextCalls, continued);
        QCOMPARE(h.op.messageTexts(), messages);
    }

    void numberListWriteReply_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("continued");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("accepted") << 1 << 1 << QStringList{};
        QTest::newRow("refused") << 7 << 0 << QStringList{"Number list data error"};
    }
    void numberListWriteReply() {
        QFETCH(int, first);
        QFETCH(int, continued);
        QFETCH(QStringList, messages);
        H h;
        PagedReader numbers(h.sender, 0x1000);
        numbers.PageCount = 375;
        numbers.PageIndex = 188;
        h.receive.transfers.numbers = &numbers;
        h.feed(H::frame(0x82, 0x1000 + 256 * 186, QByteArray(1, char(first))));
        QCOMPARE(h.op.statusText, QStringLiteral("Save number list:187/375"));
        QCOMPARE(h.op.progressPositions, QList<int>{50});
        QVERIFY(h.op.progressVisible);
        QCOMPARE(numbers.sendNextCalls, continued);
        QCOMPARE(h.op.messageTexts(), messages);
    }

    void writeReplyInHistoryAreaIsUndefinedAddress() {
        H h;
        PagedReader history(h.sender, 0x30000);
        h.receive.transfers.history = &history;
        h.feed(H::frame(0x82, 0x30000, H::hex("01")));
        QCOMPARE(h.op.statusText, QStringLiteral("Undefined address"));
        QCOMPARE(history.ReplyAddress, 0);
        QCOMPARE(history.sendNextCalls, 0);
        QVERIFY(h.op.messages.isEmpty());
        QVERIFY(h.op.progressPositions.isEmpty());
    }

    void settingsReadGoesToPasswordCheckOnlyWhilePending() {
        H h;
        PagedReader basic(h.sender, 0);
        basic.continueOnReply = false;
        h.receive.transfers.basic = &basic;
        QSignalSpy unlocked(&h.password, &Tpasswordverify::operationsUnlocked);

        h.password.setTypedPassword("7482");
        h.password.setPending(true);
        h.feed(H::frame(0x83, 0, QByteArray("7482") + QByteArray(252, 0)));
        QCOMPARE(h.op.statusText, QStringLiteral("Reading basic setting"));
        QCOMPARE(h.op.messageTexts(), QStringList{"Password confirmed!"});
        QVERIFY(basic.replyAddresses.isEmpty());
        QVERIFY(!h.password.Pending());
        QCOMPARE(unlocked.count(), 1);

        h.feed(H::frame(0x83, 0x100, page(0x5A)));
        QCOMPARE(basic.replyAddresses, QList<int32_t>{0x100});
        QCOMPARE(basic.firstBytes, QList<uint8_t>{0x5A});
        QCOMPARE(unlocked.count(), 1);
    }

    void pagedReadProgress_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<bool>("visible");
        QTest::newRow("numbers first")
            << 0x1000 << 2 << 375 << "Reading number list:1/375" << QList<int>{0} << false;
        QTest::newRow("numbers middle")
            << 0x1000 << 200 << 375 << "Reading number list:199/375" << QList<int>{53} << true;
        QTest::newRow("numbers last")
            << 0x18600 << 376 << 375 << "Reading number list:375/375" << QList<int>{100} << false;
        QTest::newRow("numbers never started")
            << 0x1000 << 0 << 0 << "Reading number list:-1/0" << QList<int>{} << false;
        QTest::newRow("history first")
            << 0x30000 << 2 << 500 << "Reading historical data:1/500" << QList<int>{0} << false;
        QTest::newRow("history last") << 0x4F300 << 501 << 500 << "Reading historical data:500/500"
                                      << QList<int>{100} << false;
        QTest::newRow("history index 0")
            << 0x30000 << 0 << 500 << "Reading historical data:-1/500" << QList<int>{} << false;
        QTest::newRow("history never started")
            << 0x30000 << 0 << 0 << "Reading historical data:-1/0" << QList<int>{} << false;
    }
    void pagedReadProgress() {
        QFETCH(int, address);
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(QString, status);
        QFETCH(QList<int>, progress);
        QFETCH(bool, visible);
        H h;
        h.op.setProgressVisible(false);
        h.op.clearHistory();
        PagedReader numbers(h.sender, 0x1000), history(h.sender, 0x30000);
        numbers.continueOnReply = history.continueOnReply = false;
        h.receive.transfers.numbers = &numbers;
        h.receive.transfers.history = &history;
        PagedReader &target = address >= 0x30000 ? history : numbers;
        target.PageIndex = uint16_t(index);
        target.PageCount = uint16_t(count);

        h.feed(H::frame(0x83, address, page(9)));
        QCOMPARE(h.op.statusText, status);
        QCOMPARE(h.op.progressPositions, progress);
        QCOMPARE(h.op.progressVisible, visible);
        QCOMPARE(target.replyAddresses, QList<int32_t>{address});
        QCOMPARE(target.firstBytes, QList<uint8_t>{9});
        QVERIFY(h.op.messages.isEmpty());
    }

    void emptySlotsRouteNothing() {
        H h;
        h.feed(H::frame(0x83, 0, page(1)) + H::frame(0x82, 0x100, H::hex("01")) +
               H::frame(0x83, 0x1000, page(1)) + H::frame(0x83, 0x30000, page(1)));
        QCOMPARE(h.op.statusText, QStringLiteral("Reading historical data:-1/0"));
        QVERIFY(h.op.messages.isEmpty());
        QVERIFY(h.sent.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReceivePath)
#include "tst_receivepath.moc"
