#include "Hex.h"
#include "numbers/NumberListCheck.h"
#include "numbers/NumberRecord.h"
#include "numbers/NumberTable.h"

#include <QTest>

struct Row {
    QString number, startDate, startTime, endDate, endTime, always = "no", del = "no";
};
Q_DECLARE_METATYPE(Row)

namespace {

void put(NumberTable &t, int r, const Row &row) {
    const QStringList cells{row.number,  row.startDate, row.startTime, row.endDate,
                            row.endTime, row.always,    row.del};
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(c + 1, r, cells[c]);
}

QByteArray encoded(const Row &row) {
    NumberTable t;
    put(t, 1, row);
    uint8_t r[32];
    NumberRecord::encode(t, 1, r);
    return QByteArray(reinterpret_cast<const char *>(r), 32);
}

// The number's bytes, then 0x00 up to byte 22, then the ten window bytes.
QByteArray record(const QByteArray &number, const char *window) {
    return number + QByteArray(22 - number.size(), '\0') + hex(window);
}

} // namespace

class TestNumberRecord : public QObject {
    Q_OBJECT
private slots:
    void encode_data() {
        QTest::addColumn<Row>("row");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("window, editor dates")
            << Row{"+4915112345678", "2024/05/17", "9:5", "2025/12/31", "23:59"}
            << record("+4915112345678", "05 11 09 05 0C 1F 17 3B 18 19");
        QTest::newRow("window, device dates")
            << Row{"1", "2024-05-17", "09:05", "2099-01-01", "9:05"}
            << record("1", "05 11 09 05 01 01 09 05 18 63");
        QTest::newRow("22 digits, no terminator")
            << Row{"1234567890123456789012", {}, {}, {}, {}, "yes"}
            << record("1234567890123456789012", "63 63 63 63 63 63 63 63 00 63");
        QTest::newRow("deleted, whatever it holds")
            << Row{"555", "2024/05/17", "09:05", {}, {}, "yes", "yes"} << QByteArray(32, '\xFF');
        QTest::newRow("no number, Always") << Row{{}, {}, {}, {}, {}, "yes"} << QByteArray(32, 0);
        QTest::newRow("no number, window")
            << Row{{}, "2024/05/17", "09:05", "2024/05/18", "10:00"} << QByteArray(32, 0);
        QTest::newRow("empty cells stay 0")
            << Row{"7", {}, "12:30", {}, {}} << record("7", "00 00 0C 1E 00 00 00 00 00 00");
    }
    void encode() {
        QFETCH(Row, row);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encoded(row), bytes);
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("cells"); // number, window, Always, Delete
        QTest::newRow("window") << record("+4915112345678", "05 11 09 05 0C 1F 17 3B 18 19")
                                << QStringList{
                                       "+4915112345678", "2024-05-17", "09:05", "2025-12-31",
                                       "23:59",          "no",         "old"};
        QTest::newRow("22 digits")
            << QByteArray("1234567890123456789012") + hex("63 63 63 63 63 63 63 63 00 00")
            << QStringList{"1234567890123456789012", "", "", "", "", "yes", "old"};
        QTest::newRow("number ends at a foreign byte")
            << record("123-456", "01 01 00 00 01 02 00 00 18 18")
            << QStringList{"123", "2024-01-01", "00:00", "2024-01-02", "00:00", "no", "old"};
        QTest::newRow("deleted") << QByteArray(32, '\xFF')
                                 << QStringList{"", "", "", "", "", "no", "old"};
        QTest::newRow("unused") << QByteArray(32, 0)
                                << QStringList{"", "", "", "", "", "no", "old"};
        QTest::newRow("start month 0 empties the old date")
            << record("9", "00 11 08 00 0C 1F 17 3B 18 19")
            << QStringList{"9", "", "08:00", "2025-12-31", "23:59", "no", "old"};
        QTest::newRow("bytes beyond two digits")
            << record("9", "01 01 FF 07 02 02 03 04 FF 00")
            << QStringList{"9", "20255-01-01", "255:07", "2000-02-02", "03:04", "no", "old"};
    }
    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, cells);
        NumberTable t;
        // The row held other data before; only Delete is left as it was.
        put(t, 5, Row{"777", "2001/01/01", "01:01", "2002/02/02", "02:02", "yes", "old"});
        NumberRecord::decode(reinterpret_cast<const uint8_t *>(bytes.constData()), t, 5);
        QStringList got;
        for (int c = NumberTable::Number; c <= NumberTable::Delete; ++c)
            got << t.cell(c, 5);
        QCOMPARE(got, cells);
    }

    void windowCheckMessage() {
        NumberTable t;
        QCOMPARE(NumberListCheck::windows(t), QString());
        for (int r : {4, 9, 12, 30, 2999})
            put(t, r, Row{"123", "2024/01/01", {}, "2024/01/02", "10:00"});
        put(t, 5, Row{"123", {}, {}, {}, {}, "yes"});           // Always needs no window
        put(t, 6, Row{"123", {}, {}, {}, {}, "no", "yes"});     // neither does a deleted row
        put(t, 7, Row{"123", "2024/13/45", "25:00", "x", "y"}); // filled is enough here
        QCOMPARE(
            NumberListCheck::windows(t),
            QStringLiteral("Wrong operation:please select \"Always\" or setting the "
                           "Start-End date and time.Total:5\rWrong serial number:4,9,12,...."));
    }

    void deviceValueCheck_data() {
        QTest::addColumn<Row>("row");
        QTest::addColumn<bool>("writable");
        const QString d = "2024/05/17", t = "09:05";
        QTest::newRow("good") << Row{"+49123", d, t, "2024-05-18", "9:5"} << true;
        QTest::newRow("a dash in the number") << Row{"123-456", d, t, d, t} << false;
        QTest::newRow("23 digits") << Row{QString(23, u'1'), d, t, d, t} << false;
        QTest::newRow("month 13") << Row{"1", "2024/13/05", t, d, t} << false;
        QTest::newRow("day 0") << Row{"1", "2024/05/00", t, d, t} << false;
        QTest::newRow("year 2124") << Row{"1", d, t, "2124/05/17", t} << false;
        QTest::newRow("letters in a date") << Row{"1", "2024/0a/17", t, d, t} << false;
        QTest::newRow("short date") << Row{"1", "2024/5/17", t, d, t} << false;
        QTest::newRow("24:00") << Row{"1", d, "24:00", d, t} << false;
        QTest::newRow("minute 60") << Row{"1", d, t, d, "12:60"} << false;
        QTest::newRow("no colon") << Row{"1", d, "0905", d, t} << false;
        QTest::newRow("Always keeps no window") << Row{"1", "junk", "", "", "", "yes"} << true;
        QTest::newRow("deleted is not written")
            << Row{"12-3", "junk", "", "", "", "no", "yes"} << true;
        QTest::newRow("no number is not written") << Row{"", "junk", "x", {}, {}} << true;
    }
    void deviceValueCheck() {
        QFETCH(Row, row);
        QFETCH(bool, writable);
        NumberTable table;
        put(table, 8, row);
        QCOMPARE(NumberListCheck::deviceValues(table).isEmpty(), writable);
        if (!writable)
            QCOMPARE(NumberListCheck::deviceValues(table),
                     QStringLiteral("Wrong data:numbers take + and digits (at most 22), dates "
                                    "and times must be real.Total:1\rWrong serial number:8"));
    }
};

QTEST_GUILESS_MAIN(TestNumberRecord)
#include "tst_numberrecord.moc"
