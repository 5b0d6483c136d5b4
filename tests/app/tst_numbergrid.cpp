#include "NumberOrderProxy.h"
#include "NumberWindowText.h"
#include "ShownNumberPage.h"
#include "numbers/NumberListCheck.h"
#include "numbers/NumberTable.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>

namespace {

// The number page with the keyboard in its grid.
struct ShownPage : ShownNumberPage {
    ShownPage()
        : ShownNumberPage({800, 500}) {
        grid.setFocus();
    }

    QModelIndex at(int entry, int col) const { return grid.model()->index(entry - 1, col); }
    void click(int entry, int col) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid.visualRect(at(entry, col)).center());
    }
    void press(Qt::Key key) {
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &grid, key);
    }
    // The picker open over a cell, if any; a closed one is only hidden until it is deleted.
    QDateTimeEdit *openPicker() const {
        for (QDateTimeEdit *p : grid.viewport()->findChildren<QDateTimeEdit *>())
            if (p->isVisible())
                return p;
        return nullptr;
    }
    void setWindow(int entry, const QStringList &texts) {
        for (int i = 0; i < 4; ++i)
            table.setCell(NumberTable::StartDate + i, entry, texts[i]);
    }
    QStringList window(int entry) const {
        QStringList texts;
        for (int c = NumberTable::StartDate; c <= NumberTable::EndTime; ++c)
            texts << table.cell(c, entry);
        return texts;
    }
};

const QStringList someWindow{"2024/05/17", "08:00", "2024/06/01", "18:00"};

} // namespace

class TestNumberGrid : public QObject {
    Q_OBJECT
private slots:
    void windowDates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("written by a picker") << "2024/05/17" << QDate(2024, 5, 17);
        QTest::newRow("read from the device") << "2024-05-17" << QDate(2024, 5, 17);
        QTest::newRow("day from the last two characters") << "2024/05/017" << QDate(2024, 5, 17);
        QTest::newRow("no such day") << "2024/02/30" << QDate();
        QTest::newRow("letters") << "yyyy/05/17" << QDate();
        QTest::newRow("short") << "2024/5/7" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void windowDates() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(NumberWindowText::date(text).value_or(QDate()), date);
    }

    void windowTimes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("time");
        QTest::newRow("last minute") << "23:59" << QTime(23, 59);
        QTest::newRow("with seconds") << "07:05:30" << QTime(7, 5);
        QTest::newRow("hour 24") << "24:00" << QTime();
        QTest::newRow("minute 60") << "12:60" << QTime();
    }
    void windowTimes() {
        QFETCH(QString, text);
        QFETCH(QTime, time);
        QCOMPARE(NumberWindowText::time(text).value_or(QTime()), time);
    }

    void outOfRange_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("marked");
        QTest::newRow("month 13") << int(NumberTable::StartDate) << "2024/13/05" << true;
        QTest::newRow("day 45") << int(NumberTable::EndDate) << "2024/02/45" << true;
        QTest::newRow("30 February") << int(NumberTable::StartDate) << "2024/02/30" << false;
        QTest::newRow("hour 24") << int(NumberTable::StartTime) << "24:00" << true;
        QTest::newRow("minute 60") << int(NumberTable::EndTime) << "12:60" << true;
        QTest::newRow("last minute") << int(NumberTable::EndTime) << "23:59" << false;
        QTest::newRow("no digits") << int(NumberTable::StartDate) << "2024/ab/cd" << false;
        QTest::newRow("the number") << int(NumberTable::Number) << "2024/13/05" << false;
    }
    void outOfRange() {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(bool, marked);
        QCOMPARE(NumberWindowText::outOfRange(col, text), marked);
    }

    void clickMarksAndClears() {
        ShownPage p;
        QVERIFY(p.ready());
        p.setWindow(3, someWindow);
        p.click(3, NumberTable::Always);
        QCOMPARE(p.table.cell(NumberTable::Always, 3), QStringLiteral("yes"));
        QCOMPARE(p.window(3), QStringList(4, QString()));
        p.click(3, NumberTable::Always);
        QCOMPARE(p.table.cell(NumberTable::Always, 3), QStringLiteral("no"));
        QCOMPARE(p.window(3), QStringList(4, QString()));
    }

    // A number typed into its cell of a view sorted by number lands in the slot shown, and the
    // view puts it in its place.
    void typedNumberLandsInItsSlot() {
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::Number, 5, "200");
        p.table.setCell(NumberTable::Number, 9, "100");
        p.grid.order()->headingClicked(NumberTable::Number);
        QCOMPARE(p.grid.model()->index(0, NumberTable::Number).data().toString(), "100");
        p.grid.setCurrentIndex(p.grid.model()->index(0, NumberTable::Number));
        p.grid.edit(p.grid.currentIndex());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "300");
        p.press(Qt::Key_Return);
        // The delegate commits on its next turn of the event loop.
        QTRY_COMPARE(p.table.cell(NumberTable::Number, 9), QStringLiteral("300"));
        QCOMPARE(p.table.cell(NumberTable::Number, 5), QStringLiteral("200"));
        // The edited entry takes its place in the order shown.
        QCOMPARE(p.grid.model()->index(0, NumberTable::Number).data().toString(), "200");
    }

    // Space marks the current box; arriving on a box with the arrows or Tab does not, and Tab
    // passes over the fixed serial column.
    void keysMarkOnlyWithSpace() {
        ShownPage p;
        QVERIFY(p.ready());
        p.grid.setCurrentIndex(p.at(1, NumberTable::Always));
        p.press(Qt::Key_Tab);
        p.press(Qt::Key_Down);
        p.press(Qt::Key_Down);
        p.press(Qt::Key_Left);
        p.press(Qt::Key_Up);
        p.press(Qt::Key_Right);
        p.press(Qt::Key_Tab);
        QCOMPARE(p.grid.currentIndex(), p.at(3, NumberTable::Number));
        for (int entry = 1; entry <= 3; ++entry) {
            QCOMPARE(p.table.cell(NumberTable::Always, entry), QStringLiteral("no"));
            QCOMPARE(p.table.cell(NumberTable::Delete, entry), QStringLiteral("no"));
        }
        p.grid.setCurrentIndex(p.at(2, NumberTable::Delete));
        p.press(Qt::Key_Space);
        QCOMPARE(p.table.cell(NumberTable::Delete, 2), QStringLiteral("yes"));
        p.press(Qt::Key_Space);
        QCOMPARE(p.table.cell(NumberTable::Delete, 2), QStringLiteral("no"));
    }

    // The start date shows in its cell as soon as it is picked, the start time when its picker
    // is left. A picker opens on its column's first value, later on the last one picked.
    void pickerWritesItsFormat() {
        ShownPage p;
        QVERIFY(p.ready());
        p.click(1, NumberTable::StartDate);
        QDateTimeEdit *picker = p.openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->displayFormat(), QStringLiteral("yyyy/MM/dd"));
        QCOMPARE(picker->date(), QDate(2015, 3, 6));
        QCOMPARE(p.table.cell(NumberTable::StartDate, 1), QString());
        picker->setDate(QDate(2016, 1, 2));
        QCOMPARE(p.table.cell(NumberTable::StartDate, 1), QStringLiteral("2016/01/02"));

        p.press(Qt::Key_Tab);
        picker = p.openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->displayFormat(), QStringLiteral("HH:mm"));
        QCOMPARE(picker->time(), QTime(0, 0));
        picker->setTime(QTime(7, 5));
        QCOMPARE(p.table.cell(NumberTable::StartTime, 1), QString());
        p.press(Qt::Key_Tab);
        QCOMPARE(p.table.cell(NumberTable::StartTime, 1), QStringLiteral("07:05"));
        QCOMPARE(p.grid.currentIndex(), p.at(1, NumberTable::EndDate));
        p.click(2, NumberTable::StartTime);
        QVERIFY(p.openPicker());
        QCOMPARE(p.openPicker()->time(), QTime(7, 5));
    }

    void pickerTakesTheCellOrKeepsItsValue() {
        // Loading a picker hands the view nothing before it has placed the picker.
        QTest::failOnWarning(QRegularExpression("commitData called with an editor"));
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::StartDate, 4, QStringLiteral("2024-05-17"));
        p.table.setCell(NumberTable::StartDate, 5, QStringLiteral("2024/02/30"));
        p.click(4, NumberTable::StartDate);
        QVERIFY(p.openPicker());
        QCOMPARE(p.openPicker()->date(), QDate(2024, 5, 17));
        p.click(5, NumberTable::StartDate);
        QVERIFY(p.openPicker());
        QCOMPARE(p.openPicker()->date(), QDate(2024, 5, 17));
        // Leaving an untouched picker keeps the text as the device wrote it.
        QCOMPARE(p.table.cell(NumberTable::StartDate, 4), QStringLiteral("2024-05-17"));
    }

    // Arrow keys move the current cell over the pickers and change no cell.
    void arrowsMovePastPickers() {
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::StartDate, 2, QStringLiteral("2035-07-18"));
        p.table.setCell(NumberTable::StartDate, 4, QStringLiteral("2024/05/17"));
        p.grid.setCurrentIndex(p.at(2, NumberTable::Number));
        p.press(Qt::Key_Right);
        QVERIFY(p.openPicker());
        p.press(Qt::Key_Down);
        p.press(Qt::Key_Down);
        QCOMPARE(p.grid.currentIndex(), p.at(4, NumberTable::StartDate));
        QCOMPARE(p.table.cell(NumberTable::StartDate, 2), QStringLiteral("2035-07-18"));
        QCOMPARE(p.table.cell(NumberTable::StartDate, 3), QString());
        QCOMPARE(p.table.cell(NumberTable::StartDate, 4), QStringLiteral("2024/05/17"));
    }

    // Tabbing through an empty window, or clicking a picker and clicking away, fills nothing:
    // the save still asks for a window.
    void passingPickersLeavesWindowEmpty() {
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::Number, 1, QStringLiteral("5551234"));
        p.grid.setCurrentIndex(p.at(1, NumberTable::Number));
        for (int i = 0; i < 5; ++i)
            p.press(Qt::Key_Tab);
        QCOMPARE(p.grid.currentIndex(), p.at(1, NumberTable::Always));
        p.click(1, NumberTable::EndDate);
        QVERIFY(p.openPicker());
        p.click(1, NumberTable::Number);
        QCOMPARE(p.window(1), QStringList(4, QString()));
        QVERIFY(NumberListCheck::windows(p.table).startsWith(
            "Wrong operation:please select \"Always\" or setting the Start-End date and time."));
    }

    // A picker that was opened steps with the arrows; Escape puts the cell back as it was.
    void escapeRestoresTheCell() {
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::StartDate, 5, QStringLiteral("2035-07-18"));
        p.click(5, NumberTable::StartDate);
        p.press(Qt::Key_Up);
        QCOMPARE(p.table.cell(NumberTable::StartDate, 5), QStringLiteral("2036/07/18"));
        p.press(Qt::Key_Escape);
        QCOMPARE(p.table.cell(NumberTable::StartDate, 5), QStringLiteral("2035-07-18"));
    }

    // Enter opens a picker the keyboard arrived on; its changed value is written as it is left.
    void changedPickerWritesItsValue() {
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::EndTime, 3, QStringLiteral("07:05"));
        p.grid.setCurrentIndex(p.at(3, NumberTable::EndDate));
        p.press(Qt::Key_Tab);
        p.press(Qt::Key_Return);
        p.press(Qt::Key_Up);
        QCOMPARE(p.table.cell(NumberTable::EndTime, 3), QStringLiteral("07:05"));
        p.press(Qt::Key_Tab);
        QCOMPARE(p.table.cell(NumberTable::EndTime, 3), QStringLiteral("08:05"));
        QCOMPARE(p.grid.currentIndex(), p.at(3, NumberTable::Always));
    }

    // No picker on an Always row, nor over a cell made current while the grid lacks the keyboard.
    void noPickerWhereNotAsked() {
        ShownPage p;
        QVERIFY(p.ready());
        p.table.setCell(NumberTable::Always, 6, QStringLiteral("yes"));
        p.click(6, NumberTable::EndDate);
        QCOMPARE(p.grid.currentIndex(), p.at(6, NumberTable::EndDate));
        QVERIFY(!p.openPicker());
        p.click(6, NumberTable::EndDate);
        QVERIFY(!p.openPicker());
        QCOMPARE(p.table.cell(NumberTable::EndDate, 6), QString());

        p.page.allAlways->setFocus();
        p.grid.setCurrentIndex(p.at(5, NumberTable::EndDate));
        QVERIFY(!p.openPicker());
    }

    void allAlwaysAndDeleteAll() {
        ShownPage p;
        QVERIFY(p.ready());
        p.setWindow(7, someWindow);
        for (const QString expected : {"yes", "no"}) {
            p.page.allAlways->click();
            for (int entry : {1, 7, 3000})
                QCOMPARE(p.table.cell(NumberTable::Always, entry), expected);
            QCOMPARE(p.window(7), someWindow);
        }
        p.page.deleteAll->click();
        QCOMPARE(p.table.cell(NumberTable::Delete, 1), QStringLiteral("yes"));
        QCOMPARE(p.table.cell(NumberTable::Delete, 3000), QStringLiteral("yes"));
    }

    void wheelMovesOneRow() {
        ShownPage p;
        QVERIFY(p.ready());
        const auto turn = [&](int delta) {
            const QPointF at = p.grid.viewport()->rect().center();
            QWheelEvent e(at, p.grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(p.grid.viewport(), &e);
            return p.grid.rowAt(0);
        };
        QCOMPARE(turn(-120), 1);
        QCOMPARE(turn(-360), 2);
        QCOMPARE(turn(120), 1);
    }
};

QTEST_MAIN(TestNumberGrid)
#include "tst_numbergrid.moc"
