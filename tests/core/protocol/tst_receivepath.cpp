#include "Hex.h"
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
        h.feed(hex("00 FF 11"));
        QCOMPARE(h.op.statusText, QStringLiteral("Data communication"));
        QVERIFY(!h.rec.receiving());
        QVERIFY(!h.receive.tmr1().isEnabled());
        QVERIFY(h.op.messages.isEmpty());

        // Noise followed by a frame: only the frame counts.
        h.request(4, 0);
        h.feed(hex("55") + H::frame(4, 0, hex("01")));
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
        h.request(0x83, 0x32300);
        h.feed(H::frame(0x83, 0x32300, data));
        QCOMPARE(history.replyAddresses, QList<int32_t>{0x32300});
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(history.ReplyData), 256), data);
        QCOMPARE(h.valid.address, 0x32300);
        QCOMPARE(h.valid.length, uint16_t(256));
    }

    void badChecksumShowsInvalidDataAndNextFrameStartsClean() {
        H h;
        h.request(0x85, 0);
        QByteArray bad = H::frame(0x85, 0, hex("01"));
        bad[bad.size() - 1] = char(bad.back() ^ 0x40);
        h.feed(bad);
        QCOMPARE(h.op.statusText, QStringLiteral("Invalid data"));
        QVERIFY(h.op.messages.isEmpty());
        QVERIFY(!h.rec.receiving());
        h.feed(H::frame(0x85, 0, hex("01")));
        QCOMPARE(h.op.messageTexts(), QStringList{"Historical data deleted"});
    }

    void oversizeLengthIsDroppedUntilNextStartByte() {
        H h;
        h.request(4, 0);
        // A declared length of 0x0101 bytes does not fit: nothing of it may be stored.
        h.feed(hex("23 83 00 00 00 00 01 01") + QByteArray(600, 0x11));
        QVERIFY(!h.rec.receiving());
        QVERIFY(h.op.messages.isEmpty());
        h.feed(H::frame(4, 0, hex("01")));
        QCOMPARE(h.op.messageTexts(), QStringList{"Enter"});
    }

    // However the link cuts the bytes up, noise, damaged, oversized and foreign frames and the
    // awaited reply are taken as byte by byte.
    void piecesOfAnySizeAreTakenAlike_data() {
        QTest::addColumn<int>("piece");
        QTest::newRow("byte by byte") << 1;
        QTest::newRow("7 bytes") << 7;
        QTest::newRow("at once") << 2000;
    }
    void piecesOfAnySizeAreTakenAlike() {
        QFETCH(int, piece);
        H h;
        PagedReader history(h.sender, 0x30000);
        history.continueOnReply = false;
        h.receive.transfers.history = &history;
        QByteArray bad = H::frame(0x83, 0x30000, page(7));
        bad[bad.size() - 1] = char(bad.back() ^ 1);
        const QByteArray bytes = hex("00 FF") + bad + hex("11 22") + H::frame(4, 0, hex("01")) +
                                 hex("23 83 00 03 00 00 01 01") + QByteArray(300, 0x11) +
                                 H::frame(0x83, 0x30000, page(9, 0x23)) + hex("55");
        history.startRead(1);
        for (int at = 0; at < bytes.size(); at += piece)
            h.feed(bytes.mid(at, piece));
        QCOMPARE(h.op.statusTexts,
                 (QStringList{"Reading", "Data communication", "Invalid data", "Data communication",
                              "Undefined data", "Data communication", "Reading historical data:1/1",
                              "Data communication"}));
        QCOMPARE(history.replyAddresses, QList<int32_t>{0x30000});
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(history.ReplyData), 256), page(9, 0x23));
        QVERIFY(!h.rec.receiving());
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
        h.request(uint8_t(command), 0);
        h.feed(H::frame(uint8_t(command), 0, QByteArray(1, char(first))));
        QCOMPARE(h.op.statusText, status);
        QCOMPARE(h.op.messageTexts(), QStringList{message});
        QCOMPARE(h.op.messages.first().title, QString());
        QCOMPARE(h.outcomes, (QList<QPair<bool, QString>>{{ok, message}}));
    }

    void unknownCommandIsUndefinedData() {
        H h;
        h.feed(H::frame(0x42, 0x100, hex("01")));
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
        h.request(0x82, 0x100);
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
        h.request(0x82, 0x1000 + 256 * 186);
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
        h.request(0x82, 0x30000);
        h.feed(H::frame(0x82, 0x30000, hex("01")));
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
        h.request(0x83, 0);
        h.feed(H::frame(0x83, 0, QByteArray("7482") + QByteArray(252, 0)));
        QCOMPARE(h.op.statusText, QStringLiteral("Reading basic setting"));
        QCOMPARE(h.op.messageTexts(), QStringList{"Password confirmed!"});
        QVERIFY(basic.replyAddresses.isEmpty());
        QVERIFY(!h.password.Pending());
        QCOMPARE(unlocked.count(), 1);

        h.request(0x83, 0x100);
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
        h.request(0x83, address);
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
        const QList<QPair<int, int>> requests{
            {0x83, 0}, {0x82, 0x100}, {0x83, 0x1000}, {0x83, 0x30000}};
        for (auto [command, address] : requests) {
            h.request(uint8_t(command), address);
            h.feed(H::frame(uint8_t(command), address, command == 0x83 ? page(1) : hex("01")));
        }
        QVERIFY(h.sent.size() == requests.size());
        QCOMPARE(h.op.statusText, QStringLiteral("Reading historical data:-1/0"));
        QVERIFY(h.op.messages.isEmpty());
    }

    void onlyTheAwaitedReplyIsActedOn_data() {
        QTest::addColumn<int>("command"); // of the request outstanding; 0: none
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("stillAwaited");
        const QByteArray enter = H::frame(4, 0, hex("01"));
        QTest::newRow("nothing awaited") << 0 << 0 << enter << false;
        QTest::newRow("another command") << 0x85 << 0 << enter << true;
        QTest::newRow("another address") << 0x83 << 0x100 << H::frame(0x83, 0, page(1)) << true;
        QTest::newRow("the same page twice")
            << 0x83 << 0x100 << H::frame(0x83, 0x100, page(1)) + H::frame(0x83, 0x100, page(2))
            << false;
    }
    void onlyTheAwaitedReplyIsActedOn() {
        QFETCH(int, command);
        QFETCH(int, address);
        QFETCH(QByteArray, reply);
        QFETCH(bool, stillAwaited);
        H h;
        PagedReader basic(h.sender, 0);
        basic.continueOnReply = false;
        h.receive.transfers.basic = &basic;
        if (command)
            h.request(uint8_t(command), address);
        h.feed(reply);
        QCOMPARE(h.op.statusText, QStringLiteral("Undefined data"));
        QVERIFY(h.op.messages.isEmpty());
        // A repeated page is decoded once; an unrelated reply not at all.
        QCOMPARE(basic.firstBytes,
                 command == 0x83 && !stillAwaited ? QList<uint8_t>{1} : QList<uint8_t>{});
        QCOMPARE(h.receive.awaiting(), stillAwaited);
        QCOMPARE(h.receive.tmr1().isEnabled(), stillAwaited);
    }

    void shortReadReplyIsDamaged_data() {
        QTest::addColumn<bool>("passwordCheck");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("taken");
        QTest::newRow("page of 100 bytes") << false << 100 << false;
        QTest::newRow("page of 255 bytes") << false << 255 << false;
        QTest::newRow("password of 3 bytes") << true << 3 << false;
        QTest::newRow("password of 4 bytes") << true << 4 << true;
    }
    void shortReadReplyIsDamaged() {
        QFETCH(bool, passwordCheck);
        QFETCH(int, length);
        QFETCH(bool, taken);
        H h;
        PagedReader basic(h.sender, 0);
        basic.continueOnReply = false;
        h.receive.transfers.basic = &basic;
        h.password.setTypedPassword("7482");
        h.password.setPending(passwordCheck);
        h.request(0x83, 0);
        h.feed(H::frame(0x83, 0, QByteArray("7482").leftJustified(length, '9', true)));
        QCOMPARE(h.receive.awaiting(), !taken);
        QCOMPARE(h.op.messageTexts(), taken ? QStringList{"Password confirmed!"} : QStringList{});
        QVERIFY(basic.replyAddresses.isEmpty());
        if (!taken)
            QCOMPARE(h.op.statusText, QStringLiteral("Invalid data"));
    }

    void replyWithoutDataByteIsARefusal_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("message");
        QTest::newRow("time sync") << 3 << 0 << "0同步时间返回错误";
        QTest::newRow("checking mode") << 4 << 0 << "Error";
        QTest::newRow("delete history") << 0x85 << 0 << "Historical data delet error";
        QTest::newRow("settings page") << 0x82 << 0x100 << "Basic setting error";
        QTest::newRow("number list page") << 0x82 << 0x1000 << "Number list data error";
    }
    void replyWithoutDataByteIsARefusal() {
        QFETCH(int, command);
        QFETCH(int, address);
        QFETCH(QString, message);
        H h;
        PagedReader basic(h.sender, 0), numbers(h.sender, 0x1000);
        h.receive.transfers.basic = &basic;
        h.receive.transfers.numbers = &numbers;
        // An earlier reply left 1 in every data buffer; the empty reply must not read it.
        h.request(uint8_t(command), address);
        h.feed(H::frame(uint8_t(command), address, hex("01")));
        h.op.messages.clear();
        h.request(uint8_t(command), address);
        h.feed(H::frame(uint8_t(command), address));
        QCOMPARE(h.op.messageTexts(), QStringList{message});
        QCOMPARE(basic.sendNextCalls + numbers.sendNextCalls, command == 0x82 ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestReceivePath)
#include "tst_receivepath.moc"
