#include "numbers/NumberListEdit.h"
#include "numbers/NumberTable.h"

#include <QTest>

namespace {

// Number, the window, Always and Delete of the entries 1..7; 3 and 4 are empty.
const QList<QStringList> used{
    {"+8613912345678", "2026-01-01", "08:00", "2026-12-31", "18:00", "no", "no"},
    {"5551234", "", "", "", "", "yes", "no"},
    {"", "", "", "", "", "no", "no"},
    {"", "", "", "", "", "no", "no"},
    {"0049301234", "2027-06-15", "07:30", "2027-06-15", "19:00", "no", "no"},
    {"777", "", "", "", "", "no", "yes"},
    {"+8613912345678", "", "", "", "", "yes", "no"},
};

void fill(NumberTable &table, const QList<QStringList> &entries) {
    for (int r = 0; r < entries.size(); ++r)
        for (int c = 0; c < entries[r].size(); ++c)
            table.setCell(NumberTable::Number + c, r + 1, entries[r][c]);
}

QList<QStringList> entries(const NumberTable &table, int count) {
    QList<QStringList> out;
    for (int r = 1; r <= count; ++r)
        out << table.rowTexts(r).mid(NumberTable::Number);
    return out;
}

} // namespace

class TestNumberListEdit : public QObject {
    Q_OBJECT
private slots:
    void add_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("window"); // start date, time, end date, time; or none
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells");
        const QStringList window{"2026/01/01", "08:00", "2026/12/31", "18:00"};
        QTest::newRow("again: its own row, now Always")
            << "0049301234" << QStringList{} << 5
            << QStringList{"0049301234", "", "", "", "", "yes", "no"};
        QTest::newRow("new: the first empty row")
            << "+4915112345678" << window << 3
            << QStringList{"+4915112345678", "2026/01/01", "08:00", "2026/12/31",
                           "18:00",          "no",         "no"};
        QTest::newRow("Always stays Always") << "5551234" << QStringList{} << 2
                                             << QStringList{"5551234", "", "", "", "", "yes", "no"};
        QTest::newRow("marked for deletion: kept, with a window")
            << "777" << window << 6
            << QStringList{"777", "2026/01/01", "08:00", "2026/12/31", "18:00", "no", "no"};
    }
    void add() {
        QFETCH(QString, number);
        QFETCH(QStringList, window);
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        NumberTable table;
        fill(table, used);
        std::optional<NumberListEdit::Window> given;
        if (!window.isEmpty())
            given = NumberListEdit::Window{{window[0], window[1]}, {window[2], window[3]}};
        QCOMPARE(NumberListEdit::add(table, number, given), row);
        QList<QStringList> expected = used;
        expected[row - 1] = cells;
        QCOMPARE(entries(table, used.size()), expected);
    }

    void addToAFullListChangesNothing() {
        NumberTable table;
        QList<QStringList> full;
        for (int r = 1; r <= NumberTable::EntryCount; ++r)
            full << QStringList{QString::number(r)};
        fill(table, full);
        const QList<QStringList> before = entries(table, NumberTable::EntryCount);
        QCOMPARE(NumberListEdit::add(table, "5551234", std::nullopt), 0);
        QCOMPARE(entries(table, NumberTable::EntryCount), before);
        QCOMPARE(table.cell(NumberTable::Number, 0), QStringLiteral("Authorized number"));
    }

    void remove_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("held");
        QTest::addColumn<QList<int>>("marked"); // the entries whose Delete is "yes" after it
        QTest::newRow("every row holding it") << "+8613912345678" << 2 << QList<int>{1, 6, 7};
        QTest::newRow("already marked stays marked") << "777" << 1 << QList<int>{6};
        QTest::newRow("unknown") << "999" << 0 << QList<int>{6};
    }
    void remove() {
        QFETCH(QString, number);
        QFETCH(int, held);
        QFETCH(QList<int>, marked);
        NumberTable table;
        fill(table, used);
        QCOMPARE(NumberListEdit::remove(table, number), held);
        QList<int> got;
        for (int r = 1; r <= used.size(); ++r)
            if (table.cell(NumberTable::Delete, r) == QLatin1String("yes"))
                got << r;
        QCOMPARE(got, marked);
    }
};

QTEST_GUILESS_MAIN(TestNumberListEdit)
#include "tst_numberlistedit.moc"
