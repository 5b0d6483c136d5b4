#include "StringGrid.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using Edits = QVector<CellEdit>;

// The texts of the reports as "col,row:before>after", one string per report.
QStringList reports(const QSignalSpy &spy) {
    QStringList out;
    for (const QList<QVariant> &args : spy) {
        QStringList one;
        for (const CellEdit &e : args.at(0).value<Edits>())
            one << QStringLiteral("%1,%2:%3>%4").arg(e.col).arg(e.row).arg(e.before, e.after);
        out << one.join(u' ');
    }
    return out;
}

} // namespace

class TestCellEdits : public QObject {
    Q_OBJECT
private slots:
    void reportsEachChange_data() {
        QTest::addColumn<std::function<void(StringGrid &)>>("edit");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("single cells") << std::function<void(StringGrid &)>([](StringGrid &g) {
            g.setCell(1, 2, "x");
            g.setCell(1, 2, "y");
            g.setCell(0, 0, "a"); // unchanged
            g.setCell(3, 0, "z"); // outside
        }) << QStringList{"1,2:>x", "1,2:x>y"};
        QTest::newRow("nested batch") << std::function<void(StringGrid &)>([](StringGrid &g) {
            g.editRows(0, 3, [&] {
                g.setCell(2, 3, "p");
                g.editRows(1, 1, [&] { g.setCell(0, 1, "q"); });
                g.setCell(2, 3, "r");
            });
        }) << QStringList{"2,3:>p 0,1:>q 2,3:p>r"};
        QTest::newRow("reporting off") << std::function<void(StringGrid &)>([](StringGrid &g) {
            g.setReportingEdits(false);
            g.setCell(1, 1, "n");
            g.editRows(0, 3, [&] { g.setCell(1, 2, "m"); });
        }) << QStringList{};
    }
    void reportsEachChange() {
        QFETCH(std::function<void(StringGrid &)>, edit);
        QFETCH(QStringList, expected);
        StringGrid g(3, 4);
        g.setCell(0, 0, "a");
        QSignalSpy spy(&g, &StringGrid::cellsEdited);
        edit(g);
        QCOMPARE(reports(spy), expected);
    }

    // The same cell twice in one step: backward ends on its first text, forward on its last.
    void replayGoesBothWays() {
        StringGrid g(3, 4);
        const Edits edits{{1, 1, "", "b"}, {2, 3, "k", ""}, {1, 1, "b", "c"}};
        g.setCell(1, 1, "c");
        QSignalSpy reported(&g, &StringGrid::cellsEdited);

        g.replayEdits(edits, StringGrid::Replay::Backward);
        QCOMPARE(g.cell(1, 1), QString());
        QCOMPARE(g.cell(2, 3), QStringLiteral("k"));
        g.replayEdits(edits, StringGrid::Replay::Forward);
        QCOMPARE(g.cell(1, 1), QStringLiteral("c"));
        QCOMPARE(g.cell(2, 3), QString());

        QVERIFY(reported.isEmpty());
        g.setCell(0, 0, "again");
        QCOMPARE(reported.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCellEdits)
#include "tst_celledits.moc"
