#include "DeviceMemoryMap.h"
#include "FactoryImage.h"
#include "PtyClient.h"
#include "SimulatedDevice.h"

#include <QElapsedTimer>
#include <QTest>

using namespace DeviceMemoryMap;

Q_DECLARE_METATYPE(DeviceFaults)

namespace {

const QByteArray ErasedPage(PageSize, char(0xFF));
const QByteArray Accepted(1, char(1));
const QByteArray Refused(1, char(0));

// Long enough for a device on the same machine to have answered, if it were going to.
constexpr int SilenceMs = 300;

QByteArray pattern(int seed) {
    QByteArray page(PageSize, 0);
    for (int i = 0; i < PageSize; ++i)
        page[i] = char((i * 7 + seed) & 0xFF); // covers 0x23 inside the data as well
    return page;
}

QByteArray timeBytes() {
    return QByteArray::fromHex("EA0C070C0509");
}

// The reply data for a request, or why there is none.
QByteArray replyData(PtyClient &client, uint8_t command, int address, const QByteArray &data = {}) {
    const ReplyFrame reply = ReplyFrame::parse(client.exchange(command, address, data));
    if (!reply.good)
        return "no good reply";
    if (reply.command != command || reply.address != address)
        return "reply for another request";
    return reply.data;
}

} // namespace

class TestSimulatedDevice : public QObject {
    Q_OBJECT
private slots:
    void readsFactoryPages_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("settings page 1") << 0x000 << FactoryImage::settingsPage1("7482");
        QTest::newRow("settings page 2") << 0x100 << ErasedPage;
        QTest::newRow("first number page") << 0x1000 << ErasedPage;
        QTest::newRow("last number page") << 0x18600 << ErasedPage;
        QTest::newRow("first history page") << 0x30000 << ErasedPage;
        QTest::newRow("last history page") << 0x4F300 << ErasedPage;
    }
    void readsFactoryPages() {
        QFETCH(int, address);
        QFETCH(QByteArray, expected);
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x83, address).toHex(), expected.toHex());
    }

    void writtenPageReadsBack() {
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x82, 0x1000, pattern(1)), Accepted);
        QCOMPARE(replyData(client, 0x83, 0x1000), pattern(1));
        QCOMPARE(device.memoryRange(0x1000, PageSize), pattern(1));
        // Neighbouring pages are untouched.
        QCOMPARE(device.memoryRange(0xF00, PageSize), ErasedPage);
        QCOMPARE(device.memoryRange(0x1100, PageSize), ErasedPage);
    }

    void commandsAnswerAccepted_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("time synchronisation") << 0x03 << timeBytes();
        QTest::newRow("checking mode") << 0x04 << QByteArray();
        QTest::newRow("delete history") << 0x85 << QByteArray();
    }
    void commandsAnswerAccepted() {
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, uint8_t(command), 0, data), Accepted);
    }

    void timeSynchronisationIsKept() {
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QVERIFY(device.lastTimeBytes().isEmpty());
        QCOMPARE(replyData(client, 0x03, 0, timeBytes()), Accepted);
        QCOMPARE(device.lastTimeBytes(), timeBytes());
    }

    void deleteHistoryErasesOnlyHistory() {
        DeviceOptions options;
        options.historyCount = 1000;
        SimulatedDevice device(options);
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x82, 0x1000, pattern(2)), Accepted);
        QVERIFY(replyData(client, 0x83, 0x4F300) != ErasedPage);

        QCOMPARE(replyData(client, 0x85, 0), Accepted);
        QCOMPARE(replyData(client, 0x83, 0x30000), ErasedPage);
        QCOMPARE(replyData(client, 0x83, 0x4F300), ErasedPage);
        const QByteArray memory = device.memory();
        QCOMPARE(memory.mid(HistoryStart), QByteArray(ImageSize - HistoryStart, char(0xFF)));
        QCOMPARE(memory.mid(0, PageSize), FactoryImage::settingsPage1("7482"));
        QCOMPARE(memory.mid(0x1000, PageSize), pattern(2));
    }

    void badRequestsAreRefused_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("write past the memory") << 0x82 << ImageSize << pattern(3);
        QTest::newRow("write over the end") << 0x82 << ImageSize - 128 << pattern(3);
        QTest::newRow("short write") << 0x82 << 0x1000 << QByteArray(6, 'x');
        QTest::newRow("time without its bytes") << 0x03 << 0 << QByteArray();
    }
    void badRequestsAreRefused() {
        QFETCH(int, command);
        QFETCH(int, address);
        QFETCH(QByteArray, data);
        SimulatedDevice device;
        const QByteArray before = device.memory();
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, uint8_t(command), address, data), Refused);
        QCOMPARE(device.memory(), before);
        QVERIFY(device.lastTimeBytes().isEmpty());
    }

    void unanswerableRequestsGetNoReply_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("counted");
        QTest::newRow("read past the memory") << PtyClient::frame(0x83, ImageSize) << 1;
        QTest::newRow("read over the end") << PtyClient::frame(0x83, 0x4F301) << 1;
        QTest::newRow("unknown command") << PtyClient::frame(0x10, 0) << 1;
        QByteArray corrupt = PtyClient::frame(0x83, 0);
        corrupt.back() = char(corrupt.back() ^ 1);
        QTest::newRow("bad checksum") << corrupt << 0;
    }
    void unanswerableRequestsGetNoReply() {
        QFETCH(QByteArray, request);
        QFETCH(int, counted);
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QVERIFY(client.send(request));
        QCOMPARE(client.read(1, SilenceMs), QByteArray());
        QCOMPARE(device.requestCount(), counted);
        // The device keeps serving afterwards.
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
    }

    void requestsAreReassembledFromPieces() {
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        // Noise before the frame, and the frame one byte at a time.
        QVERIFY(client.send(QByteArray::fromHex("00FF7E")));
        const QByteArray request = PtyClient::frame(0x82, 0x100, pattern(4));
        for (char c : request)
            QVERIFY(client.send(QByteArray(1, c)));
        QCOMPARE(ReplyFrame::parse(client.readFrame()).data, Accepted);
        QCOMPARE(device.lastRequest(), request);
        QCOMPARE(device.requestCount(), 1);
        QCOMPARE(device.memoryRange(0x100, PageSize), pattern(4));
    }

    void clientCanCloseAndReopen() {
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        for (int round = 0; round < 5; ++round) {
            QCOMPARE(replyData(client, 0x82, 0x1000 + round * PageSize, pattern(round)), Accepted);
            client.close();
            QVERIFY(client.open());
            QCOMPARE(replyData(client, 0x83, 0x1000 + round * PageSize), pattern(round));
        }
        QCOMPARE(device.requestCount(), 10);
    }

    void lastRequestAndCount() {
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QCOMPARE(device.requestCount(), 0);
        QVERIFY(device.lastRequest().isEmpty());
        replyData(client, 0x83, 0x100);
        replyData(client, 0x03, 0, timeBytes());
        QCOMPARE(device.requestCount(), 2);
        QCOMPARE(device.lastRequest(), PtyClient::frame(0x03, 0, timeBytes()));
    }

    void memoryAccessors() {
        SimulatedDevice device;
        QCOMPARE(device.memory().size(), ImageSize);
        QVERIFY(device.writeMemory(0x4F3FE, "ab"));
        QCOMPARE(device.memoryRange(0x4F3FE, 2), QByteArray("ab"));
        QVERIFY(!device.writeMemory(0x4F3FF, "ab"));
        QVERIFY(!device.writeMemory(-1, "a"));
        QCOMPARE(device.memoryRange(0x4F3FF, 2), QByteArray());
        QCOMPARE(device.memoryRange(-1, 2), QByteArray());
        QCOMPARE(device.memory().size(), ImageSize);
    }

    void otherPasswordAndHistory() {
        DeviceOptions options;
        options.password = "AbCd";
        options.historyCount = 3;
        SimulatedDevice device(options);
        PtyClient client(device.slavePath());
        const QByteArray page1 = replyData(client, 0x83, 0);
        QCOMPARE(page1.left(4), QByteArray("AbCd"));
        QCOMPARE(page1.mid(4), FactoryImage::settingsPage1("7482").mid(4));
        const QByteArray history = replyData(client, 0x83, 0x30100);
        QCOMPARE(history.left(128), FactoryImage::historyRecord(3));
        QCOMPARE(history.mid(128), QByteArray(128, char(0xFF)));
    }

    void invalidOptionsAreRefused_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("history");
        QTest::newRow("short password") << QByteArray("748") << 0;
        QTest::newRow("long password") << QByteArray("74821") << 0;
        QTest::newRow("negative history") << QByteArray("7482") << -1;
        QTest::newRow("too much history") << QByteArray("7482") << HistoryRecordCount + 1;
    }
    void invalidOptionsAreRefused() {
        QFETCH(QByteArray, password);
        QFETCH(int, history);
        DeviceOptions options;
        options.password = password;
        options.historyCount = history;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, SimulatedDevice{options});
    }

    void silentFromRequest() {
        SimulatedDevice device;
        device.setFaults({.noReplyFrom = 3});
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
        QCOMPARE(replyData(client, 0x83, 0x100), ErasedPage);
        // A device that has gone silent does not store either.
        QVERIFY(client.send(PtyClient::frame(0x82, 0x1000, pattern(5))));
        QCOMPARE(client.read(1, SilenceMs), QByteArray());
        QVERIFY(client.send(PtyClient::frame(0x04, 0)));
        QCOMPARE(client.read(1, SilenceMs), QByteArray());
        QCOMPARE(device.requestCount(), 4);
        QCOMPARE(device.memoryRange(0x1000, PageSize), ErasedPage);
    }

    void badChecksumFromRequest() {
        SimulatedDevice device;
        device.setFaults({.badChecksumFrom = 2});
        PtyClient client(device.slavePath());
        QVERIFY(ReplyFrame::parse(client.exchange(0x83, 0)).good);
        for (int i = 0; i < 2; ++i) {
            const QByteArray frame = client.exchange(0x83, 0);
            QCOMPARE(frame.size(), PageSize + 9); // whole, only the checksum is wrong
            QVERIFY(!ReplyFrame::parse(frame).good);
            QVERIFY(ReplyFrame::parse(frame.chopped(1) + char(frame.back() ^ 0xFF)).good);
        }
    }

    void replyCutOff() {
        SimulatedDevice device;
        device.setFaults({.cutAfter = 5});
        PtyClient client(device.slavePath());
        QVERIFY(client.send(PtyClient::frame(0x83, 0x30000)));
        const QByteArray expected = QByteArray::fromHex("2383000300");
        QCOMPARE(client.readBurst(PageSize + 9, SilenceMs), expected);
        // Every reply is cut, not only the first.
        QVERIFY(client.send(PtyClient::frame(0x83, 0x30000)));
        QCOMPARE(client.readBurst(PageSize + 9, SilenceMs), expected);
    }

    void garbageBeforeEachReply() {
        SimulatedDevice device;
        device.setFaults({.garbage = 11});
        PtyClient client(device.slavePath());
        for (int i = 0; i < 2; ++i) {
            QVERIFY(client.send(PtyClient::frame(0x04, 0)));
            QByteArray skipped;
            QCOMPARE(ReplyFrame::parse(client.readFrame(3000, &skipped)).data, Accepted);
            QCOMPARE(skipped.size(), 11);
            QVERIFY(!skipped.contains('#'));
        }
    }

    void refusalsFromRequest() {
        DeviceOptions options;
        options.historyCount = 2;
        SimulatedDevice device(options);
        device.setFaults({.nakFrom = 2});
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x82, 0x1000, pattern(6)), Accepted);
        const QByteArray before = device.memory();
        QCOMPARE(replyData(client, 0x82, 0x1100, pattern(7)), Refused);
        QCOMPARE(replyData(client, 0x85, 0), Refused);
        QCOMPARE(replyData(client, 0x04, 0), Refused);
        QCOMPARE(replyData(client, 0x03, 0, timeBytes()), Refused);
        QCOMPARE(device.memory(), before);
        QVERIFY(device.lastTimeBytes().isEmpty());
        // Reads still answer.
        QCOMPARE(replyData(client, 0x83, 0x1000), pattern(6));
    }

    // Lower bounds only: the device must not answer early. How close it keeps to the wire time
    // is measured in bench/.
    void delayedReplies() {
        SimulatedDevice device;
        device.setFaults({.delayMs = 250});
        PtyClient client(device.slavePath());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
        QVERIFY(timer.elapsed() >= 250);
    }

    // Both directions at 115200 baud: a write's 265 bytes must cross before the device answers
    // with 10, a read's 9 before it answers with 265.
    void pacedBothWays() {
        SimulatedDevice device;
        device.setFaults({.paced = true});
        PtyClient client(device.slavePath());
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(replyData(client, 0x82, 0x1000, pattern(i)), Accepted);
            QCOMPARE(replyData(client, 0x83, 0x1000), pattern(i));
        }
        // 2 x 549 bytes, 10 bits each: 95.3 ms; the upper bound allows for a loaded machine.
        const qint64 wireNs = 2LL * 549 * 10 * 1'000'000'000 / 115200;
        QVERIFY(timer.nsecsElapsed() >= wireNs);
        QVERIFY(timer.nsecsElapsed() < wireNs + 2'000'000'000);
    }

    // Every request is sent at once; the line carries exactly the expected bytes.
    void faultyReplies_data() {
        QTest::addColumn<int>("shortDataFrom");
        QTest::addColumn<int>("shortDataLength");
        QTest::addColumn<int>("duplicateFrom");
        QTest::addColumn<QByteArrayList>("requests");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray read = PtyClient::frame(0x83, 0x1000);
        const QByteArray checking = PtyClient::frame(0x04, 0);
        QTest::newRow("short page from request 2")
            << 2 << 100 << 0 << QByteArrayList{read, read}
            << PtyClient::frame(0x83, 0x1000, pattern(8)) +
                   PtyClient::frame(0x83, 0x1000, pattern(8).left(100));
        QTest::newRow("acknowledgements without their byte")
            << 1 << 0 << 0
            << QByteArrayList{PtyClient::frame(0x85, 0), PtyClient::frame(0x82, 0x100, pattern(9))}
            << PtyClient::frame(0x85, 0) + PtyClient::frame(0x82, 0x100);
        QTest::newRow("short length above the data")
            << 1 << 100 << 0 << QByteArrayList{checking} << PtyClient::frame(0x04, 0, Accepted);
        const QByteArray accepted = PtyClient::frame(0x04, 0, Accepted);
        QTest::newRow("duplicates from request 2")
            << 0 << 0 << 2 << QByteArrayList{checking, checking} << accepted + accepted + accepted;
    }
    void faultyReplies() {
        QFETCH(int, shortDataFrom);
        QFETCH(int, shortDataLength);
        QFETCH(int, duplicateFrom);
        QFETCH(QByteArrayList, requests);
        QFETCH(QByteArray, expected);
        SimulatedDevice device;
        QVERIFY(device.writeMemory(0x1000, pattern(8)));
        device.setFaults({.shortDataFrom = shortDataFrom,
                          .shortDataLength = shortDataLength,
                          .duplicateFrom = duplicateFrom});
        PtyClient client(device.slavePath());
        for (const QByteArray &request : requests)
            QVERIFY(client.send(request));
        QCOMPARE(client.readBurst(int(expected.size()) + 1, SilenceMs).toHex(' '),
                 expected.toHex(' '));
    }

    // Instead of answering request 1 the line keeps carrying bytes until request 2 comes in,
    // which is answered as usual.
    void chattersInsteadOfReplying_data() {
        QTest::addColumn<DeviceFaults>("faults");
        QTest::addColumn<QByteArray>("chatter"); // every byte of it is one of these
        QTest::newRow("noise") << DeviceFaults{.noiseFrom = 1, .onlyAt = 1}
                               << QByteArray::fromHex("0055AAFF0D0A7E24");
        QTest::newRow("flood") << DeviceFaults{.floodFrom = 1, .onlyAt = 1} << QByteArray("#");
    }
    void chattersInsteadOfReplying() {
        QFETCH(DeviceFaults, faults);
        QFETCH(QByteArray, chatter);
        SimulatedDevice device;
        device.setFaults(faults);
        PtyClient client(device.slavePath());
        QVERIFY(client.send(PtyClient::frame(0x04, 0)));
        const QByteArray line = client.read(400, 1000);
        QCOMPARE(line.size(), 400);
        for (char c : line)
            QVERIFY2(chatter.contains(c), line.toHex(' ').constData());
        QVERIFY(client.send(PtyClient::frame(0x04, 0)));
        QVERIFY(client.read(1 << 20, SilenceMs).endsWith(PtyClient::frame(0x04, 0, Accepted)));
    }

    void forgetsWritesAndLogsRequests() {
        SimulatedDevice device;
        device.setFaults({.forgetWritesFrom = 2});
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x82, 0x1000, pattern(1)), Accepted);
        QCOMPARE(replyData(client, 0x82, 0x1100, pattern(2)), Accepted);
        QCOMPARE(replyData(client, 0x83, 0x1100), ErasedPage);
        QCOMPARE(device.memoryRange(0x1000, PageSize), pattern(1));
        const QList<LoggedRequest> log{{0x82, 0x1000}, {0x82, 0x1100}, {0x83, 0x1100}};
        QCOMPARE(device.requestLog(), log);
    }

    void vanishesLikeAnUnpluggedAdapter_data() {
        QTest::addColumn<bool>("unplugged"); // hangUp() while a paced reply is under way
        QTest::newRow("hang-up at request 2") << false;
        QTest::newRow("unplugged mid-reply") << true;
    }
    void vanishesLikeAnUnpluggedAdapter() {
        QFETCH(bool, unplugged);
        SimulatedDevice device;
        device.setFaults(unplugged ? DeviceFaults{.paced = true} : DeviceFaults{.hangUpAt = 2});
        PtyClient client(device.slavePath());
        QVERIFY(device.sendRaw("#"));
        QCOMPARE(client.read(2, SilenceMs), QByteArray("#"));
        QCOMPARE(replyData(client, 0x83, 0x100), ErasedPage);
        QVERIFY(client.send(PtyClient::frame(0x83, 0x100)));
        if (unplugged) {
            QCOMPARE(client.read(8).size(), 8);
            device.hangUp();
        }
        QVERIFY(client.seesHangUp());
        QCOMPARE(device.requestCount(), 2);
        QVERIFY(!device.sendRaw("#"));
        // The terminal is gone, as the adapter's port is.
        QVERIFY(!client.open());
    }

    // Three checking requests; only the second may show the fault.
    void faultsNarrowedToOneRequest_data() {
        QTest::addColumn<DeviceFaults>("faults");
        QTest::addColumn<QByteArray>("second");
        const QByteArray accepted = PtyClient::frame(0x04, 0, Accepted);
        QTest::newRow("silent") << DeviceFaults{.noReplyFrom = 1, .onlyAt = 2} << QByteArray();
        QTest::newRow("refused, cut and late")
            << DeviceFaults{.cutAfter = 6, .nakFrom = 2, .delayMs = 400, .onlyAt = 2}
            << PtyClient::frame(0x04, 0, Refused).left(6);
        QTest::newRow("garbage and bad checksum")
            << DeviceFaults{.badChecksumFrom = 2, .garbage = 2, .onlyAt = 2}
            << QByteArray::fromHex("0055") + accepted.chopped(1) + char(accepted.back() ^ 0xFF);
    }
    void faultsNarrowedToOneRequest() {
        QFETCH(DeviceFaults, faults);
        QFETCH(QByteArray, second);
        SimulatedDevice device;
        device.setFaults(faults);
        PtyClient client(device.slavePath());
        const QByteArray accepted = PtyClient::frame(0x04, 0, Accepted);
        QElapsedTimer timer;
        for (const QByteArray &expected : {accepted, second, accepted}) {
            timer.start();
            QVERIFY(client.send(PtyClient::frame(0x04, 0)));
            const QByteArray first = client.read(1, 1000);
            const qint64 waited = timer.elapsed();
            const QByteArray got =
                first.isEmpty() ? first : first + client.read(int(accepted.size()) + 3, SilenceMs);
            QCOMPARE(got.toHex(' '), expected.toHex(' '));
            if (faults.delayMs > 0)
                QCOMPARE(waited >= faults.delayMs, expected == second);
        }
    }

    void faultsCanBeChangedWhileServing() {
        SimulatedDevice device;
        PtyClient client(device.slavePath());
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
        device.setFaults({.nakFrom = 1});
        QCOMPARE(device.faults(), DeviceFaults{.nakFrom = 1});
        QCOMPARE(replyData(client, 0x04, 0), Refused);
        device.setFaults({});
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
    }

    void stopsWhileBlockedOnAFullTerminal() {
        // Nobody reads the replies: the terminal's queue fills, and the device must still stop.
        auto device = std::make_unique<SimulatedDevice>();
        PtyClient client(device->slavePath());
        // 400 requests fit the terminal's queue towards the device; their 100 KiB of replies do
        // not fit the queue back.
        const QByteArray request = PtyClient::frame(0x83, 0);
        for (int i = 0; i < 400; ++i)
            QVERIFY(client.send(request));
        QTRY_VERIFY(device->requestCount() > 0);
        QElapsedTimer stopping;
        stopping.start();
        device.reset();
        QVERIFY2(stopping.elapsed() < 5000, qPrintable(QString::number(stopping.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestSimulatedDevice)
#include "tst_simulateddevice.moc"
