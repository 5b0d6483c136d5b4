#include "history/HistoryTable.h"

#include <QTest>

class TestHistoryTable : public QObject {
    Q_OBJECT
private slots:
    void headings_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("heading");
        const char *texts[] = {"Serial", "No.",    "Date",      "Time",
                               "From",   "Action", "Executant", "Content"};
        for (int c = 0; c < 8; ++c)
            QTest::newRow(texts[c]) << c << QString::fromLatin1(texts[c]);
    }
    void headings() {
        QFETCH(int, col);
        QFETCH(QString, heading);
        HistoryTable t;
        QCOMPARE(t.cell(col, 0), heading);
    }

    // Only the serial column is filled at start; the record cells wait for a read.
    void startUpRecords() {
        HistoryTable t;
        QCOMPARE(t.rowCount(), 1001);
        QCOMPARE(t.columnCount(), 8);
        for (int r = 1; r <= HistoryTable::RecordCount; ++r) {
            QCOMPARE(t.cell(HistoryTable::Serial, r), QString::number(r));
            for (int c = HistoryTable::RecordNo; c < HistoryTable::ColumnCount; ++c)
                QVERIFY(t.cell(c, r).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestHistoryTable)
#include "tst_historytable.moc"
