#include "RecordingOperator.h"
#include "exchange/CodePage.h"
#include "exchange/WorkbookWriter.h"
#include "history/HistoryExport.h"
#include "history/HistoryLoad.h"
#include "history/HistoryTable.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records as a read leaves them: awkward contents, one without a date, and a row further down
// that holds no record number (the workbook keeps it, the CSV file does not).
const QList<QStringList> Records = {
    {"12", "2015-03-07", "07:05:09", "SMS", "Relay ON", "+49300000000", "Gate, \"north\"\r\nok"},
    {"13", "", "08:00:00", "GPRS", "Arm", "", "tab\there \\ caf\u00e9"},
    {"14", "2015-03-08", "09:00:00", "", "", "", ""},
};

void fill(HistoryTable &table) {
    for (int r = 1; r <= int(Records.size()); ++r)
        for (int c = 1; c < HistoryTable::ColumnCount; ++c)
            table.setCell(c, r, Records[r - 1][c - 1]);
    table.setCell(HistoryTable::Date, 5, QStringLiteral("2015-03-09"));
}

QList<QStringList> recordsOf(const HistoryTable &table) {
    QList<QStringList> out;
    for (int r = 1; r <= HistoryTable::RecordCount; ++r)
        out << table.recordTexts(r);
    return out;
}

} // namespace

class TestHistoryLoad : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    void initTestCase() { CodePage::setOverride(1252); }
    void cleanupTestCase() { CodePage::setOverride(0); }

    // What either export wrote comes back as the table held it.
    void exportsComeBack_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("workbook") << "h.xlsx";
        QTest::newRow("comma-separated") << "h.cvs";
    }
    void exportsComeBack() {
        QFETCH(QString, name);
        RecordingOperator op;
        Tprogressbar_ctrl progress{op};
        Tstatusbar_ctrl status{op, progress};
        HistoryTable exported;
        fill(exported);
        HistoryExport files(exported, status, progress);
        const QString path = dir.filePath(name);
        QCOMPARE(
            (name.endsWith(".cvs") ? files.writeCsv(path) : files.writeWorkbook(path)).reason(),
            QString());

        HistoryTable loaded;
        loaded.setCell(HistoryTable::Content, 900, QStringLiteral("from before"));
        QCOMPARE(HistoryLoad::load(path, loaded).reason(), QString());
        QList<QStringList> expected = Records;
        while (expected.size() < HistoryTable::RecordCount)
            expected << QStringList(HistoryTable::ColumnCount - 1, QString());
        if (name.endsWith(".xlsx"))
            expected[4][1] = QStringLiteral("2015-03-09");
        QCOMPARE(recordsOf(loaded), expected);
    }

    // A file that is not an export says so, and the table stays as it was.
    void otherFilesLeaveTheTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("number list workbook")
            << "list.xlsx" << QByteArray() << "is not a history exported by this program: row 1";
        QTest::newRow("serials out of order")
            << "b.csv"
            << QByteArray("2,12,2015-03-07,07:05:09,SMS,Relay ON,,,,\r\n"
                          "1,13,2015-03-07,07:05:09,SMS,Relay ON,,,,\r\n")
            << "line 2 is not serial";
        QTest::newRow("a folder") << "folder.cvs" << QByteArray() << "it is not a regular file";
    }
    void otherFilesLeaveTheTable() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, complaint);
        const QString path = dir.filePath(name);
        if (name == QLatin1String("list.xlsx")) {
            WorkbookWriter list;
            list.setCellText(1, 1, QStringLiteral("Serial"));
            list.setCellText(1, 2, QStringLiteral("Authorized number"));
            QVERIFY(list.saveAs(path));
        } else if (name.startsWith(QLatin1String("folder"))) {
            QVERIFY(QDir(dir.path()).mkdir(name));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        }
        HistoryTable table;
        fill(table);
        const QList<QStringList> before = recordsOf(table);
        const Result<void> loaded = HistoryLoad::load(path, table);
        QVERIFY(!loaded);
        QVERIFY2(loaded.reason().contains(complaint), qPrintable(loaded.reason()));
        QCOMPARE(recordsOf(table), before);
    }
};

QTEST_GUILESS_MAIN(TestHistoryLoad)
#include "tst_historyload.moc"
