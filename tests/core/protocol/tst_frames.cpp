#include "Hex.h"
#include "protocol/TDataPackage.h"
#include "protocol/TRecData.h"

#include <QTest>

namespace {

QByteArray build(uint8_t command, int32_t address, const QByteArray &data = {}) {
    TDataPackage p;
    p.SetCommand(command);
    p.SetLength(int32_t(data.size()));
    p.SetAddress(address);
    if (!data.isEmpty())
        p.SetData(data);
    p.BuildFrame();
    return p.frameBytes();
}

QList<TRecData::Feed> feedAll(TRecData &r, const QByteArray &bytes) {
    QList<TRecData::Feed> out;
    for (char c : bytes)
        out << r.feed(uint8_t(c));
    return out;
}

} // namespace

class TestFrames : public QObject {
    Q_OBJECT
private slots:
    void requestVectors_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("settings page 1") << 0x83 << 0x000 << hex("23 83 00 00 00 00 00 00 83");
        QTest::newRow("settings page 2") << 0x83 << 0x100 << hex("23 83 00 00 01 00 00 00 82");
        QTest::newRow("numbers page 1") << 0x83 << 0x1000 << hex("23 83 00 00 10 00 00 00 93");
        QTest::newRow("history page 1") << 0x83 << 0x30000 << hex("23 83 00 03 00 00 00 00 80");
        QTest::newRow("history page 500") << 0x83 << 0x4F300 << hex("23 83 00 04 F3 00 00 00 74");
        QTest::newRow("checking mode") << 0x04 << 0 << hex("23 04 00 00 00 00 00 00 04");
        QTest::newRow("delete history") << 0x85 << 0 << hex("23 85 00 00 00 00 00 00 85");
    }
    void requestVectors() {
        QFETCH(int, command);
        QFETCH(int, address);
        QFETCH(QByteArray, expected);
        QCOMPARE(build(uint8_t(command), address).toHex(' '), expected.toHex(' '));
    }

    void timeSyncFrame() {
        // 2026-12-07 12:05:09: the year byte is the low 8 bits of 2026.
        QCOMPARE(build(0x03, 0, hex("EA 0C 07 0C 05 09")).toHex(' '),
                 hex("23 03 00 00 00 00 00 06 EA 0C 07 0C 05 09 E4").toHex(' '));
    }

    void fullPageWrite() {
        QByteArray page(256, 0);
        for (int i = 0; i < 256; ++i)
            page[i] = char(i);
        const QByteArray f = build(0x82, 0x1000, page);
        QCOMPARE(f.size(), 265);
        QCOMPARE(f.mid(6, 2), hex("01 00"));
        QCOMPARE(f.mid(8, 256), page);
        uint8_t c = 0;
        for (int i = 1; i < 264; ++i)
            c ^= uint8_t(f[i]);
        QCOMPARE(uint8_t(f[264]), c);
        QCOMPARE(c, uint8_t(0x82 ^ 0x10 ^ 0x01)); // the page's bytes 0..255 XOR to 0
    }

    void startByteInsideDataIsPlain() {
        const QByteArray f = build(0x82, 0x2323, QByteArray(256, 0x23));
        QCOMPARE(f.count('#'), 1 + 2 + 256);
        TRecData r;
        const auto results = feedAll(r, f);
        QCOMPARE(results.last(), TRecData::Feed::Complete);
        QCOMPARE(results.count(TRecData::Feed::Complete), 1);
        QCOMPARE(r.frameAddress(), 0x2323);
        QCOMPARE(r.data[255], uint8_t(0x23));
    }

    void setDataRefusesOversizeAndShortSources() {
        TDataPackage p;
        p.SetLength(257);
        QVERIFY(!p.SetData(QByteArray(300, 1)));
        QCOMPARE(p.data[0], uint8_t(0));
        p.SetLength(6);
        QVERIFY(!p.SetData(QByteArray(5, 1)));
        QVERIFY(p.SetData(QByteArray(6, 1)));
        QCOMPARE(p.data[5], uint8_t(1));
    }

    void reassemblyDropsNoiseAndCompletesEmptyFrame() {
        TRecData r;
        const auto results = feedAll(r, hex("00 FF 23 04 00 00 00 00 00 00 04"));
        QCOMPARE(results.mid(0, 2),
                 (QList<TRecData::Feed>{TRecData::Feed::Dropped, TRecData::Feed::Dropped}));
        QCOMPARE(results.count(TRecData::Feed::Collecting), 8);
        QCOMPARE(results.last(), TRecData::Feed::Complete);
        QCOMPARE(r.command, uint8_t(4));
        QVERIFY(!r.receiving());
        QCOMPARE(r.byteCount, 0);
    }

    void badChecksumThenNextFrame() {
        TRecData r;
        QCOMPARE(feedAll(r, hex("23 83 00 00 01 00 00 01 07 00")).last(),
                 TRecData::Feed::BadChecksum);
        QVERIFY(!r.receiving());
        QCOMPARE(feedAll(r, hex("23 85 00 00 00 00 00 01 01 85")).last(), TRecData::Feed::Complete);
        QCOMPARE(r.data[0], uint8_t(1));
    }

    void oversizeLengthIsDroppedWithoutOverrun() {
        TRecData r;
        const auto results = feedAll(r, hex("23 83 00 00 00 00 FF FF"));
        QCOMPARE(results.last(), TRecData::Feed::Dropped);
        QVERIFY(!r.receiving());
        // The bytes that followed are not taken as a frame until the next start byte.
        QCOMPARE(feedAll(r, QByteArray(400, 0x11)).count(TRecData::Feed::Dropped), 400);
        QCOMPARE(feedAll(r, hex("23 04 00 00 00 00 00 01 01 04")).last(), TRecData::Feed::Complete);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
