#include "Hex.h"
#include "exchange/CodePage.h"
#include "history/HistoryRecord.h"
#include "history/HistoryTable.h"

#include <QTest>

namespace {

// A record from its fields: `head` is bytes 0..11 in hex; texts are padded with `fill`.
QByteArray record(const char *head, const QByteArray &executant, const QByteArray &content,
                  char fill = '\0') {
    QByteArray r = hex(head);
    r += executant + QByteArray(22 - executant.size(), fill);
    r += content + QByteArray(128 - 34 - content.size(), fill);
    return r;
}

} // namespace

class TestHistoryRecord : public QObject {
    Q_OBJECT
private slots:
    void decodesEveryField_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("cells"); // No., Date, Time, From, Action, Executant, Content
        QTest::newRow("an event") << record("0C000000 0F0307 070509 01 02", "+49300000000", "Gate")
                                  << QStringList{"12",       "2015-03-07",   "07:05:09", "SMS",
                                                 "Relay ON", "+49300000000", "Gate"};
        QTest::newRow("year 0: unused, whatever else it holds")
            << record("0C000000 000307 070509 01 02", "+49300000000", "Gate")
            << QStringList{"", "", "", "", "", "", ""};
        QTest::newRow("erased") << QByteArray(128, '\xFF')
                                << QStringList{"", "", "", "", "", "", QString(41, QChar(0xFF))};
        QTest::newRow("power failure overrides the source")
            << record("01000000 100101 000000 00 06", "", "")
            << QStringList{"1", "2016-01-01", "00:00:00", "Power supply", "Power failure", "", ""};
        QTest::newRow("unknown source, relay on")
            << record("01000000 100101 000000 07 02", "", "")
            << QStringList{"1", "2016-01-01", "00:00:00", "", "Relay ON", "", ""};
        QTest::newRow("DIN2 alarm overrides SMS")
            << record("01000000 100101 000000 01 05", "", "")
            << QStringList{"1", "2016-01-01", "00:00:00", "DIN2", "DIN2 Alarm", "", ""};
        QTest::newRow("22 digits and a digit after them; unknown event")
            << record("01000000 100101 000000 03 0A", "1234567890123456789012", "9")
            << QStringList{"1", "2016-01-01", "00:00:00", "Telephone", "", "1234567890123456789012",
                           "9"};
        QTest::newRow("a space ends the number")
            << record("01000000 100101 000000 02 09", "123 456", "")
            << QStringList{"1", "2016-01-01", "00:00:00", "Power supply", "Power recovery", "123",
                           ""};
        QTest::newRow("negative number, three-digit year, hour and minute")
            << record("FEFFFFFF 780C1F 7B6409 00 07", "", "")
            << QStringList{"-2", "20120-12-31", "123:100:09", "COM Port", "Arm", "", ""};
        QTest::newRow("an erased month or second empties its cell")
            << record("05000000 55FF01 0102FF 01 08", "", "")
            << QStringList{"5", "", "", "SMS", "Disarm", "", ""};
        QTest::newRow("content stops after 41 bytes")
            << record("05000000 550101 010203 01 00", "", QByteArray(41, 'a') + "bcd", 'e')
            << QStringList{"5",          "2085-01-01", "01:02:03",       "SMS",
                           "Add number", "",           QString(41, u'a')};
    }
    void decodesEveryField() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, cells);
        QCOMPARE(bytes.size(), 128);
        HistoryTable table;
        for (int c = 1; c < 8; ++c)
            table.setCell(c, 7, QStringLiteral("old"));
        HistoryRecord::decode(reinterpret_cast<const uint8_t *>(bytes.constData()), table, 7,
                              CodePage(1252));
        QCOMPARE(table.rowTexts(7), QStringList{"7"} + cells);
    }
};

QTEST_GUILESS_MAIN(TestHistoryRecord)
#include "tst_historyrecord.moc"
