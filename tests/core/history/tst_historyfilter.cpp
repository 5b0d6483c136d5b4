#include "history/HistoryFilter.h"
#include "history/HistoryTable.h"

#include <QTest>

namespace {

HistoryWindow window(const char *from, const char *to) {
    const auto at = [](const char *text) {
        return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd H:mm:ss");
    };
    return {at(from).date(), at(from).time(), at(to).date(), at(to).time()};
}

// Row r holds record number r + 100 stamped "date time".
void fill(HistoryTable &table, const QStringList &stamps) {
    for (int r = 1; r <= stamps.size(); ++r) {
        const QStringList parts = stamps[r - 1].split(u' ');
        table.setCell(HistoryTable::RecordNo, r, QString::number(r + 100));
        table.setCell(HistoryTable::Date, r, parts.value(0));
        table.setCell(HistoryTable::Time, r, parts.value(1));
        table.setCell(HistoryTable::Action, r, QStringLiteral("Relay ON"));
    }
}

QStringList records(const HistoryTable &table) {
    QStringList out;
    for (int r = 1; r <= HistoryTable::RecordCount; ++r)
        if (!table.cell(HistoryTable::RecordNo, r).isEmpty())
            out << table.cell(HistoryTable::RecordNo, r);
    return out;
}

} // namespace

class TestHistoryFilter : public QObject {
    Q_OBJECT
private slots:
    void selectsStrictlyInsideAndSorts_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("stamps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("kept"); // record numbers, in the order written
        const QStringList mix{"2015-03-05 08:00:00", "2015-03-04 12:00:00", "2015-03-03 09:59:59",
                              "2015-03-04 06:00:00", "2015-03-03 10:00:00", "2015-03-05 07:59:59",
                              "2015-03-04 12:00:00", "2015-03-04",          "2015-03-03 10:00:01"};
        QTest::newRow("window of two days") << "2015-03-03 10:00:00"
                                            << "2015-03-05 08:00:00" << mix << QString()
                                            << QStringList{"109", "104", "102", "107", "106"};
        QTest::newRow("across midnight")
            << "2015-03-02 23:00:00"
            << "2015-03-03 01:00:00" << QStringList{"2015-03-03 00:30:00", "2015-03-03 01:00:01"}
            << QString() << QStringList{"101"};
        QTest::newRow("equal instants")
            << "2015-03-03 0:00:00"
            << "2015-03-03 0:00:00" << mix << "Time selection error" << QStringList();
        QTest::newRow("end before start on one day")
            << "2015-03-03 10:00:00"
            << "2015-03-03 9:00:00" << mix << "Time selection error" << QStringList();
        QTest::newRow("empty grid")
            << "2015-03-03 0:00:00"
            << "2026-01-01 0:00:00" << QStringList() << "No correct records" << QStringList();
        QTest::newRow("nothing inside")
            << "2016-01-01 0:00:00"
            << "2026-01-01 0:00:00" << mix << "No records" << QStringList();
        // Only two digits of a year count: 2115 falls on 2015.
        QTest::newRow("a century apart")
            << "2115-03-04 0:00:00"
            << "2115-03-05 0:00:00" << mix << QString() << QStringList{"104", "102", "107"};
        QTest::newRow("a time that is no number")
            << "2015-03-03 0:00:00"
            << "2026-01-01 0:00:00" << QStringList{"2015-03-04 06:00:00", "2015-03-04 123:05:09"}
            << "':0' is not a valid integer value" << QStringList();
    }
    void selectsStrictlyInsideAndSorts() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, stamps);
        QFETCH(QString, message);
        QFETCH(QStringList, kept);
        HistoryTable table;
        fill(table, stamps);
        const QStringList before = records(table);
        const auto result = HistoryFilter::apply(table, window(qPrintable(from), qPrintable(to)));
        QCOMPARE(result.message, message);
        QCOMPARE(result.filtered, message.isEmpty());
        QCOMPARE(records(table), message.isEmpty() ? kept : before);
        for (int r = 1; r <= HistoryTable::RecordCount; ++r)
            QCOMPARE(table.cell(HistoryTable::Serial, r), QString::number(r));
    }

    void aWiderWindowCannotBringRowsBack() {
        HistoryTable table;
        fill(table, {"2015-03-04 06:00:00", "2015-03-06 06:00:00", "2015-03-08 06:00:00"});
        QVERIFY(HistoryFilter::apply(table, window("2015-03-05 0:00:00", "2015-03-07 0:00:00"))
                    .filtered);
        QVERIFY(HistoryFilter::apply(table, window("2015-03-01 0:00:00", "2015-03-31 0:00:00"))
                    .filtered);
        QCOMPARE(records(table), QStringList{"102"});
        QCOMPARE(table.rowTexts(1),
                 (QStringList{"1", "102", "2015-03-06", "06:00:00", "", "Relay ON", "", ""}));
    }
};

QTEST_GUILESS_MAIN(TestHistoryFilter)
#include "tst_historyfilter.moc"
