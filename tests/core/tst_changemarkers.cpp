#include "RecordingOperator.h"
#include "numbers/NumberListChanges.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"
#include "settings/SettingsTable.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

// The change markers of the tables and the count of a number list's changes.
class TestChangeMarkers : public QObject {
    Q_OBJECT
private slots:
    void editMarksAndTypingTheOldTextBackUnmarks() {
        NumberTable t;
        QAbstractItemModelTester tester(&t);
        QVERIFY(!t.isRowChanged(5));
        t.setCell(NumberTable::Number, 5, "5551234");
        QVERIFY(t.isRowChanged(5));
        QVERIFY(t.index(5, 0).data(StringGrid::RowChangedRole).toBool());
        QVERIFY(t.index(5, NumberTable::Number).data(StringGrid::CellChangedRole).toBool());
        QVERIFY(!t.index(5, NumberTable::Always).data(StringGrid::CellChangedRole).toBool());
        t.toggleMark(NumberTable::Always, 5);
        t.setCell(NumberTable::Number, 5, "");
        QVERIFY(t.isRowChanged(5)); // Always still differs
        t.toggleMark(NumberTable::Always, 5);
        QVERIFY(!t.isRowChanged(5));
        QVERIFY(!t.index(5, NumberTable::Number).data(StringGrid::CellChangedRole).toBool());
    }

    // The reference is what the device holds: a read moves it, an import only changes the cells.
    void baselineMovesWithReadNotWithImport() {
        NumberTable t;
        t.setCell(NumberTable::Number, 1, "111");
        t.markBaseline(); // as the end of a read does
        QVERIFY(!t.isRowChanged(1));
        t.setCell(NumberTable::Number, 1, "222");
        QVERIFY(t.isRowChanged(1));

        QTemporaryDir dir;
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        Tstatusbar_ctrl status(op, progress);
        NumberTable other;
        other.setCell(NumberTable::Number, 2, "333");
        other.toggleMark(NumberTable::Always, 2);
        const QString path = dir.filePath("list.xlsx");
        QVERIFY(NumberListExchange(other, op, status, progress, dir.path()).saveWorkbook(path));
        QVERIFY2(NumberListExchange(t, op, status, progress, dir.path()).loadWorkbook(path),
                 qPrintable(op.messageTexts().join('|')));
        QCOMPARE(t.cell(NumberTable::Number, 2), QStringLiteral("333"));
        // Row 1 lost its number, row 2 got one: both differ from the device.
        const NumberListChanges c = NumberListChanges::of(t);
        QCOMPARE(c.deleted, QStringList{"1"});
        QCOMPARE(c.added, QStringList{"2"});
    }

    void settingsChoiceRowCountsByItsSelection() {
        SettingsTable t;
        QAbstractItemModelTester tester(&t);
        QVERIFY(!t.isRowChanged(3));
        // Leaving the list unchanged writes its text into the cell: still no change.
        t.leaveChoice(3);
        QVERIFY(!t.isRowChanged(3));
        t.setChoiceIndex(3, 0);
        QVERIFY(t.isRowChanged(3));
        QVERIFY(t.index(3, SettingsTable::ValueColumn).data(StringGrid::CellChangedRole).toBool());
        t.setChoiceIndex(3, 1);
        QVERIFY(!t.isRowChanged(3));
        t.setValue(7, "30");
        QVERIFY(t.isRowChanged(7));
    }

    void numberListChangesByKind() {
        NumberTable t;
        for (int r = 1; r <= 4; ++r)
            t.setCell(NumberTable::Number, r, QStringLiteral("55500%1").arg(r));
        t.markBaseline();
        t.setCell(NumberTable::Number, 1, "5559999");  // changed
        t.toggleMark(NumberTable::Always, 2);          // changed
        t.toggleMark(NumberTable::Delete, 3);          // deleted
        t.setCell(NumberTable::Number, 4, "");         // deleted
        t.setCell(NumberTable::Number, 7, "+4930123"); // added
        t.setCell(NumberTable::Number, 9, "1");        // typed and taken back: nothing
        t.setCell(NumberTable::Number, 9, "");
        t.toggleMark(NumberTable::Always, 10); // marks on empty slots: nothing
        t.toggleMark(NumberTable::Delete, 11);
        t.setCell(NumberTable::Number, 12, "777"); // added and marked for deletion: nothing
        t.toggleMark(NumberTable::Delete, 12);
        const NumberListChanges c = NumberListChanges::of(t);
        QCOMPARE(c.added, QStringList{"7"});
        QCOMPARE(c.changed, (QStringList{"1", "2"}));
        QCOMPARE(c.deleted, (QStringList{"3", "4"}));
        QCOMPARE(c.counts(), QStringLiteral("1 entry added, 2 changed, 2 deleted."));
        QCOMPARE(c.details(), QStringLiteral("Added: 7\nChanged: 1, 2\nDeleted: 3, 4"));
    }
};

QTEST_GUILESS_MAIN(TestChangeMarkers)
#include "tst_changemarkers.moc"
