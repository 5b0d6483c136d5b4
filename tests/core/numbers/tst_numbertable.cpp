#include "numbers/NumberTable.h"

#include <QTest>

class TestNumberTable : public QObject {
    Q_OBJECT
private slots:
    void headings_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("heading");
        const char *texts[] = {"Serial",   "Authorized number", "Start Date", "Start Time ",
                               "End Date", "End Time",          "Always(V)",  "Delete(V)"};
        for (int c = 0; c < 8; ++c)
            QTest::newRow(texts[c]) << c << QString::fromLatin1(texts[c]);
    }
    void headings() {
        QFETCH(int, col);
        QFETCH(QString, heading);
        NumberTable t;
        QCOMPARE(t.cell(col, 0), heading);
    }

    void shape() {
        NumberTable t;
        QCOMPARE(t.rowCount(), 3001);
        QCOMPARE(t.columnCount(), 8);
    }

    // Every entry starts numbered, with no number, no validity window and both marks "no".
    void startUpEntries() {
        NumberTable t;
        for (int r = 1; r <= NumberTable::EntryCount; ++r) {
            QCOMPARE(t.cell(NumberTable::Serial, r), QString::number(r));
            for (int c = NumberTable::Number; c <= NumberTable::EndTime; ++c)
                QVERIFY2(t.cell(c, r).isEmpty(),
                         qPrintable(QString("row %1 col %2").arg(r).arg(c)));
            QCOMPARE(t.cell(NumberTable::Always, r), QStringLiteral("no"));
            QCOMPARE(t.cell(NumberTable::Delete, r), QStringLiteral("no"));
        }
        QVERIFY(t.cell(NumberTable::Serial, 3001).isEmpty());
    }

    void yesNoColumns() {
        for (int c = 0; c < NumberTable::ColumnCount; ++c)
            QCOMPARE(NumberTable::isYesNoColumn(c), c == 6 || c == 7);
    }
};

QTEST_GUILESS_MAIN(TestNumberTable)
#include "tst_numbertable.moc"
