#include "DeviceMemoryMap.h"
#include "FactoryImage.h"

#include <QRegularExpression>
#include <QTest>

using namespace DeviceMemoryMap;

namespace {

// Page 1 as saving the start-up defaults writes it, byte by byte.
QByteArray defaultPage1(const QByteArray &password) {
    QByteArray page(PageSize, char(0xFF));
    auto at = [&page](int offset, const QByteArray &bytes) {
        page.replace(offset, bytes.size(), bytes);
    };
    at(0, password);
    at(26, QByteArray::fromHex("0101"));
    at(28, QByteArray("Unauthorized door opened") + '\0');
    at(68, QByteArray("DIN2 Alarm") + '\0');
    at(108, QByteArray::fromHex("0A00"));
    at(110, QByteArray::fromHex("0100"));
    at(112, QByteArray::fromHex("00000000"));
    at(116, QByteArray::fromHex("0303"));
    at(118, QByteArray("Relay ON") + '\0');
    at(158, QByteArray("Relay OFF") + '\0');
    at(198, QByteArray::fromHex("0F27E7030000"));
    return page;
}

int number(const QByteArray &record) {
    return int(uint8_t(record[0]) | uint8_t(record[1]) << 8 | uint8_t(record[2]) << 16 |
               uint8_t(record[3]) << 24);
}

QByteArray field(const QByteArray &record, int offset, int size, char end) {
    const QByteArray bytes = record.mid(offset, size);
    const qsizetype stop = bytes.indexOf(end);
    return stop < 0 ? bytes : bytes.left(stop);
}

} // namespace

class TestFactoryImage : public QObject {
    Q_OBJECT
private slots:
    void settingsPage1_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::newRow("default") << QByteArray("7482");
        QTest::newRow("lettered") << QByteArray("AbCd");
    }
    void settingsPage1() {
        QFETCH(QByteArray, password);
        QCOMPARE(FactoryImage::settingsPage1(password).toHex(' '),
                 defaultPage1(password).toHex(' '));
    }

    void imageLayout() {
        const QByteArray image = FactoryImage::build("7482", 0);
        QCOMPARE(image.size(), 0x4F400);
        QCOMPARE(image.left(PageSize), defaultPage1("7482"));
        QCOMPARE(image.mid(PageSize), QByteArray(ImageSize - PageSize, char(0xFF)));
    }

    void historySamples_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("odd count ends mid-page") << 3;
        QTest::newRow("full") << HistoryRecordCount;
        QTest::newRow("more than fits") << HistoryRecordCount + 5;
    }
    void historySamples() {
        QFETCH(int, count);
        const QByteArray image = FactoryImage::build("7482", count);
        const int filled = qMin(count, HistoryRecordCount);
        QCOMPARE(image.size(), ImageSize);
        for (int i = 0; i < HistoryRecordCount; ++i) {
            const QByteArray record =
                image.mid(HistoryStart + i * HistoryRecordSize, HistoryRecordSize);
            if (i >= filled) {
                QCOMPARE(record, QByteArray(HistoryRecordSize, char(0xFF)));
                continue;
            }
            QCOMPARE(record, FactoryImage::historyRecord(i + 1));
        }
    }

    // Every sample is a record the tool shows and keeps: numbered, dated within range, with
    // known source and event codes, a telephone number and a terminated text.
    void historyRecordsArePlausible() {
        QDateTime previous;
        for (int n = 1; n <= HistoryRecordCount; ++n) {
            const QByteArray r = FactoryImage::historyRecord(n);
            QCOMPARE(r.size(), HistoryRecordSize);
            QCOMPARE(number(r), n);
            const QDate date{2000 + uint8_t(r[4]), uint8_t(r[5]), uint8_t(r[6])};
            const QTime time{uint8_t(r[7]), uint8_t(r[8]), uint8_t(r[9])};
            QVERIFY(date.isValid() && time.isValid());
            QVERIFY(uint8_t(r[4]) > 0 && uint8_t(r[4]) < 80);
            const QDateTime when(date, time, Qt::UTC);
            QVERIFY(!previous.isValid() || when > previous);
            previous = when;
            QVERIFY(uint8_t(r[10]) <= 3);
            QVERIFY(uint8_t(r[11]) <= 9);
            const QByteArray executant = field(r, 12, 22, '\0');
            QVERIFY(executant.size() > 1);
            QVERIFY(QRegularExpression("^\\+?[0-9]+$").match(executant).hasMatch());
            const QByteArray content = field(r, 34, 41, '\0');
            QVERIFY(!content.isEmpty() && content.size() < 41);
        }
    }
};

QTEST_GUILESS_MAIN(TestFactoryImage)
#include "tst_factoryimage.moc"
