#include "ExchangeDisplays.h"
#include "exchange/CodePage.h"
#include "history/HistoryExport.h"
#include "history/HistoryTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

struct Fixture : ExchangeDisplays {
    HistoryTable table;
    HistoryExport files{table, status, progress};

    // Three records as a filter leaves them, and a row further down without a record number.
    Fixture() {
        const QStringList rows[] = {
            {"12", "2015-03-07", "07:05:09", "SMS", "Relay ON", "+49300000000", ""},
            {"13", "2015-03-07", "08:00:00", "GPRS", "Arm", "", "Gate, \"north\""},
            {"-2", "2015-03-08", "09:00:00", "", "", "", "Caf\u00e9"},
        };
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c < 8; ++c)
                table.setCell(c, r, rows[r - 1][c - 1]);
        table.setCell(HistoryTable::Date, 9, QStringLiteral("2015-03-09"));
    }
    QByteArray read(const QString &name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
    }
};

} // namespace

class TestHistoryExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CodePage::setOverride(1252); }
    void cleanupTestCase() { CodePage::setOverride(0); }

    void csvHasOneLinePerRecord() {
        Fixture f;
        f.op.saveFiles << f.dir.filePath("h.cvs");
        f.files.ExportCsv(f.op, f.dir.path());
        QCOMPARE(f.read("h.cvs"),
                 QByteArray("1,12,2015-03-07,07:05:09,SMS,Relay ON,+49300000000,,,\r\n"
                            "2,13,2015-03-07,08:00:00,GPRS,Arm,,\"Gate, \"\"north\"\"\",,\r\n"
                            "3,-2,2015-03-08,09:00:00,,,,Caf\xE9,,\r\n"));
        QCOMPARE(f.op.statusText, QStringLiteral("Export.csv:2/1000"));
        QCOMPARE(f.op.fileChoices.size(), 1);
        QCOMPARE(f.op.fileChoices[0].folder, f.dir.path());
        QVERIFY(isExportName(f.op.fileChoices[0].suggestedName, "hisinf_CSV", ".cvs"));
    }

    void emptyGridGivesAnEmptyFile() {
        Fixture f;
        HistoryTable empty;
        HistoryExport files(empty, f.status, f.progress);
        QCOMPARE(files.writeCsv(f.dir.filePath("e.csv")).reason(), QString());
        QCOMPARE(f.read("e.csv"), QByteArray());
    }

    // Bytes a read could not turn into a character cannot be written back byte for byte.
    void csvRefusesTextTheCodePageCannotHold() {
        Fixture f;
        f.table.setCell(HistoryTable::ColumnCount - 1, 2, QStringLiteral("Gate \uFFFD"));
        const Result<void> written = f.files.writeCsv(f.dir.filePath("h.cvs"));
        QVERIFY(!written);
        QCOMPARE(written.reason(),
                 QStringLiteral("Row 2, column \"Content\": \"\uFFFD\" (U+FFFD) is not in "
                                "code page 1252, so a CSV file cannot keep this text. "
                                "Nothing was written; export a workbook instead."));
        QVERIFY(!QFile::exists(f.dir.filePath("h.cvs")));
    }

    void cancelledDialogsWriteNothing() {
        Fixture f;
        f.files.ExportCsv(f.op, f.dir.path());
        f.files.ExportWorkbook(f.op, f.dir.path());
        QCOMPARE(f.op.fileChoices.size(), 2);
        QVERIFY(f.op.messages.isEmpty());
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList());
    }

    // The dialog offers the one format written; a typed ".xls" is saved as ".xlsx", and the
    // question before replacing names that file.
    void workbookIsSavedAsXlsx() {
        Fixture f;
        QFile old(f.dir.filePath("h.xlsx"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        f.op.saveFiles << f.dir.filePath("h.xls") << f.dir.filePath("h.xls");
        f.op.confirmAnswers << false << true;
        f.files.ExportWorkbook(f.op, f.dir.path());
        QCOMPARE(f.op.fileChoices.value(0).filter, QStringLiteral("EXCEL file (*.xlsx);;(*.*)"));
        QCOMPARE(f.op.confirmations.value(0).text,
                 QDir::toNativeSeparators(f.dir.filePath("h.xlsx")) +
                     " already exists.\nDo you want to replace it?");
        QCOMPARE(f.read("h.xlsx"), QByteArray("old"));
        f.files.ExportWorkbook(f.op, f.dir.path());
        QVERIFY(f.read("h.xlsx").startsWith("PK"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList{"h.xlsx"});
    }

    // openpyxl reads every cell back as the text the grid holds, in the grid's layout.
    void workbookHoldsTheWholeGridAsText() {
        Fixture f;
        f.op.saveFiles << f.dir.filePath("h.xlsx");
        f.files.ExportWorkbook(f.op, f.dir.path());
        QVERIFY(isExportName(f.op.fileChoices.value(0).suggestedName, "hisinf_R"));
        QCOMPARE(f.op.statusText, QStringLiteral("historical information records:1000/1000"));
        QProcess python;
        python.start(
            "/usr/bin/python3",
            {"-c",
             "import openpyxl, sys\n"
             "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
             "print(ws.max_row, ws.max_column)\n"
             "print(*[int(ws.column_dimensions[c].width) for c in 'ABCDEFGH'])\n"
             "bad = [c.coordinate for row in ws.iter_rows() for c in row\n"
             "       if c.number_format != '@' or not isinstance(c.value, (str, type(None)))]\n"
             "print(bad)\n"
             "for r in (1, 2, 3, 4, 10, 1001):\n"
             "    print('|'.join(c.value or '' for c in ws[r]))\n",
             f.dir.filePath("h.xlsx")});
        QVERIFY(python.waitForFinished(60000));
        QCOMPARE(python.readAllStandardError(), QByteArray());
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()),
                 QStringLiteral("1001 8\n"
                                "5 16 13 13 16 16 22 22\n"
                                "[]\n"
                                "Serial|No.|Date|Time|From|Action|Executant|Content\n"
                                "1|12|2015-03-07|07:05:09|SMS|Relay ON|+49300000000|\n"
                                "2|13|2015-03-07|08:00:00|GPRS|Arm||Gate, \"north\"\n"
                                "3|-2|2015-03-08|09:00:00||||Caf\u00e9\n"
                                "9||2015-03-09|||||\n"
                                "1000|||||||\n"));
    }
};

QTEST_GUILESS_MAIN(TestHistoryExport)
#include "tst_historyexport.moc"
