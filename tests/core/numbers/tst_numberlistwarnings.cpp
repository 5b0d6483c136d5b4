#include "numbers/NumberListWarnings.h"
#include "numbers/NumberTable.h"

#include <QTest>

namespace {

const QDateTime now(QDate(2026, 3, 1), QTime(12, 0));

void put(NumberTable &t, int row, const QString &number, const QString &endDate = {},
         const QString &endTime = {}) {
    t.setCell(NumberTable::Number, row, number);
    if (endDate.isEmpty()) {
        t.setCell(NumberTable::Always, row, QStringLiteral("yes"));
        return;
    }
    t.setCell(NumberTable::StartDate, row, QStringLiteral("2020/01/01"));
    t.setCell(NumberTable::StartTime, row, QStringLiteral("00:00"));
    t.setCell(NumberTable::EndDate, row, endDate);
    t.setCell(NumberTable::EndTime, row, endTime);
}

} // namespace

class TestNumberListWarnings : public QObject {
    Q_OBJECT
private slots:
    void cleanListHasNone() {
        NumberTable t;
        put(t, 1, "+4911");
        put(t, 2, "+4922", "2026/03/01", "12:01");
        QVERIFY(NumberListWarnings::of(t, now).isEmpty());
        QCOMPARE(NumberListWarnings::addTo("Added: 1", t, now), QStringLiteral("Added: 1"));
    }

    void findings() {
        NumberTable t;
        put(t, 1, "+4911");
        put(t, 4, "+4911", "2030/01/01", "00:00");
        put(t, 9, "+4911");
        put(t, 2, "+4922", "2026/03-01", "11:59"); // ended a minute ago, a read's separators
        put(t, 3, "4933", "2026-02-28", "23:59");
        put(t, 5, "+4955", "2025/01/01", "00:00");
        t.setCell(NumberTable::Delete, 5, "yes"); // not written: neither expired nor counted
        put(t, 6, "", "2025/01/01", "00:00");     // no entry
        put(t, 7, "4977", "2026/04/31", "00:00"); // no such day: never a moment that passed
        QCOMPARE(NumberListWarnings::of(t, now),
                 QStringList({"Number +4911 is in serials 1, 4, 9",
                              "Validity ended before now: serials 2, 3",
                              "Numbers in two styles: with \"+\" country code in serials 1, 2, "
                              "4, 9; without in serials 3, 7"}));
        QVERIFY(NumberListWarnings::isExpired(t, 2, now));
        QVERIFY(!NumberListWarnings::isExpired(t, 4, now));
        QVERIFY(!NumberListWarnings::isExpired(t, 5, now));
        QCOMPARE(NumberListWarnings::addTo("Added: 1", t, now).section('\n', 0, 2),
                 QStringLiteral("Added: 1\n\nWarnings:"));
    }

    void longListsNameTheFirstTen() {
        NumberTable t;
        for (int r = 1; r <= 12; ++r)
            put(t, r, "+49", "2025/01/01", "00:00");
        QCOMPARE(NumberListWarnings::of(t, now).value(1),
                 QStringLiteral("Validity ended before now: serials 1, 2, 3, 4, 5, 6, 7, 8, 9, "
                                "10 and 2 more"));
    }
};

QTEST_GUILESS_MAIN(TestNumberListWarnings)
#include "tst_numberlistwarnings.moc"
