#include "history/HistoryReadCopy.h"
#include "history/HistoryTable.h"

#include <QTest>

class TestHistoryReadCopy : public QObject {
    Q_OBJECT
private slots:
    // "Show all" brings back the rows of the last read, only after a narrowing.
    void showAllAfterANarrowing() {
        const QStringList first{"1", "2026-01-05", "08:00:00", "COM Port", "Add number", "+861"};
        const QStringList second{"2", "2026-01-05", "09:10:11", "SMS", "Open", "+862"};
        HistoryTable table;
        table.replaceRecords({first, second});
        HistoryReadCopy copy;
        copy.keep(table);
        table.replaceRecords({second});
        QVERIFY(!copy.canShowAll());
        copy.narrowed();
        QVERIFY(copy.canShowAll());
        copy.showAll(table);
        QVERIFY(!copy.canShowAll());
        QCOMPARE(table.cell(HistoryTable::RecordNo, 1), QStringLiteral("1"));
        QCOMPARE(table.cell(HistoryTable::Executant, 2), QStringLiteral("+862"));

        // A new read replaces the copy.
        table.replaceRecords({second});
        copy.keep(table);
        copy.narrowed();
        table.replaceRecords({});
        copy.showAll(table);
        QCOMPARE(table.cell(HistoryTable::RecordNo, 1), QStringLiteral("2"));
        QVERIFY(table.cell(HistoryTable::RecordNo, 2).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHistoryReadCopy)
#include "tst_historyreadcopy.moc"
