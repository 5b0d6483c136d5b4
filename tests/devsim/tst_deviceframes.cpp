#include "DeviceFrames.h"

#include <QTest>

namespace {

QByteArray bytes(const char *hex) {
    return QByteArray::fromHex(hex);
}

// The requests the reader completes from the bytes, one frame each.
QList<QByteArray> framesTaken(const QByteArray &line, QList<DeviceRequest> *requests = nullptr) {
    RequestReader reader;
    QList<QByteArray> frames;
    for (char b : line) {
        if (!reader.take(b))
            continue;
        frames << reader.request().frame;
        if (requests)
            *requests << reader.request();
    }
    return frames;
}

const char *const ReadLastHistoryPage = "2383 0004F300 0000 74";
const char *const TimeSync = "2303 00000000 0006 EA0C070C0509 E4";

} // namespace

class TestDeviceFrames : public QObject {
    Q_OBJECT
private slots:
    void readsRequestFields() {
        QList<DeviceRequest> requests;
        QCOMPARE(framesTaken(bytes(ReadLastHistoryPage) + bytes(TimeSync), &requests),
                 QList({bytes(ReadLastHistoryPage), bytes(TimeSync)}));
        QCOMPARE(requests[0].command, 0x83);
        QCOMPARE(requests[0].address, 0x4F300u);
        QVERIFY(requests[0].data.isEmpty());
        QCOMPARE(requests[1].command, 0x03);
        QCOMPARE(requests[1].address, 0u);
        QCOMPARE(requests[1].data, bytes("EA0C070C0509"));
    }

    // Whatever is not a good frame is passed over, and the next good one is still taken.
    void skipsWhatIsNoFrame_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("noise") << bytes("00FF5524");
        QTest::newRow("bad checksum") << bytes("2383 00000100 0000 83");
        QTest::newRow("more data than a page") << bytes("2382 00001000 0101");
    }
    void skipsWhatIsNoFrame() {
        QFETCH(QByteArray, before);
        QCOMPARE(framesTaken(before + bytes(TimeSync)), QList({bytes(TimeSync)}));
    }

    // 0x23 inside a frame is an ordinary byte.
    void startByteInsideTheData() {
        const QByteArray write = bytes("2382 00001000 0100") + QByteArray(256, 0x23) + bytes("93");
        QCOMPARE(framesTaken(write), QList({write}));
    }

    void buildsReplies() {
        QCOMPARE(replyFrame(0x04, 0, bytes("01")).toHex(' '),
                 bytes("2304 00000000 0001 01 04").toHex(' '));
        QCOMPARE(replyFrame(0x82, 0x4F300, bytes("00")).toHex(' '),
                 bytes("2382 0004F300 0001 00 74").toHex(' '));
        // The length's high byte counts in the checksum; 256 bytes of 0x23 cancel out.
        QCOMPARE(replyFrame(0x83, 0x1000, QByteArray(256, 0x23)).toHex(),
                 (bytes("2383 00001000 0100") + QByteArray(256, 0x23) + bytes("92")).toHex());
    }
};

QTEST_APPLESS_MAIN(TestDeviceFrames)
#include "tst_deviceframes.moc"
