#include "numbers/NumberFind.h"
#include "numbers/NumberTable.h"

#include <QTest>

class TestNumberFind : public QObject {
    Q_OBJECT
private slots:
    // A full list: entry r holds "+86138" and r in seven digits, so "0012" is in entries 12,
    // 120..129 and 1200..1299.
    void fullList() {
        NumberTable table;
        for (int r = 1; r <= 3000; ++r)
            table.setCell(NumberTable::Number, r,
                          QStringLiteral("+86138") + QString::number(r).rightJustified(7, u'0'));
        const QList<int> rows = NumberFind::matchingRows(table, QStringLiteral(" 0012 "));
        QCOMPARE(rows.size(), 111);
        QCOMPARE(rows.first(), 12);
        QCOMPARE(rows.last(), 1299);
        QVERIFY(NumberFind::matchingRows(table, QString()).isEmpty());
    }

    void nextWrapsRound() {
        const QList<int> rows{4, 17, 2999};
        QCOMPARE(NumberFind::nextAfter(rows, -1), 4);
        QCOMPARE(NumberFind::nextAfter(rows, 4), 17);
        QCOMPARE(NumberFind::nextAfter(rows, 2999), 4);
        QCOMPARE(NumberFind::nextAfter({}, 4), -1);
    }
};

QTEST_GUILESS_MAIN(TestNumberFind)
#include "tst_numberfind.moc"
