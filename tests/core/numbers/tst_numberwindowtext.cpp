#include "numbers/NumberTable.h"
#include "numbers/NumberWindowText.h"

#include <QTest>

// Each reader of the window cells keeps its own rule; the rows show where they part.
class TestNumberWindowText : public QObject {
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

    // The CLI's --from and --to: the pickers' form, a moment the device holds and the calendar has.
    void typedMoments_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("cells"); // date, time; none when refused
        QTest::newRow("the pickers' form")
            << " 2026/01/01 08:00 " << QStringList{"2026/01/01", "08:00"};
        QTest::newRow("February 30th") << "2026/02/30 08:00" << QStringList{};
        QTest::newRow("year 2100") << "2100/01/01 08:00" << QStringList{};
        QTest::newRow("a read's dashes") << "2026-01-01 08:00" << QStringList{};
        QTest::newRow("one-digit hour") << "2026/01/01 8:00" << QStringList{};
    }
    void typedMoments() {
        QFETCH(QString, text);
        QFETCH(QStringList, cells);
        QStringList got;
        if (const auto moment = NumberWindowText::typedMoment(text))
            got << moment->date << moment->time;
        QCOMPARE(got, cells);
    }

    // The import lets through what its integer conversion took; the save refuses it later.
    void importCells_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<bool>("passes");
        QTest::newRow("blank before a month") << "2024/ 5/17"
                                              << "08:00" << true;
        QTest::newRow("signed day and minute") << "2024/05/-7"
                                               << "08:-5" << true;
        QTest::newRow("month 45, hour 99") << "2024/45/17"
                                           << "99:00" << true;
        QTest::newRow("only the year's last two digits") << "xx24/05/17"
                                                         << "08:00" << true;
        QTest::newRow("blank after the day") << "2024/05/1 "
                                             << "08:00" << false;
    }
    void importCells() {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(bool, passes);
        QCOMPARE(NumberWindowText::isImportDate(date) && NumberWindowText::isImportTime(time),
                 passes);
    }
};

QTEST_GUILESS_MAIN(TestNumberWindowText)
#include "tst_numberwindowtext.moc"
