#include "ExchangeDisplays.h"
#include "exchange/CodePage.h"
#include "exchange/SheetCells.h"
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"
#include "numbers/NumberListCsv.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberListRowCheck.h"
#include "numbers/NumberTable.h"

#include <QFile>
#include <QTest>

namespace {

struct Entry {
    int sheetRow;
    QStringList cells; // sheet columns 2..8
};

SheetCells sheetOf(const QList<Entry> &entries) {
    SheetCells sheet;
    sheet.setText(1, 1, QStringLiteral("Serial"));
    for (const Entry &e : entries)
        for (int c = 0; c < e.cells.size(); ++c)
            sheet.setText(e.sheetRow, c + 2, e.cells[c]);
    return sheet;
}

const QStringList good = {"0987654321", "2024/05/17", "08:00", "2024-12-31", "18:00", "no", "no"};

QStringList with(int column, const QString &text) {
    QStringList cells = good;
    cells[column - 2] = text;
    return cells;
}

// Entry `row` from its number on, in column order.
void setEntry(NumberTable &table, int row, const QStringList &cells) {
    for (int c = 0; c < cells.size(); ++c)
        table.setCell(NumberTable::Number + c, row, cells[c]);
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestNumberListExchange : public QObject, private ExchangeDisplays {
    Q_OBJECT
private:
    NumberListExchange exchange(NumberTable &table) {
        return NumberListExchange(table, op, status, progress, dir.path());
    }
    QString file(const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return f.fileName();
    }
    QString workbook(const QString &name, const QList<Entry> &entries) {
        WorkbookWriter writer;
        writer.setCellText(1, 1, QStringLiteral("Serial"));
        for (const Entry &e : entries)
            for (int c = 0; c < e.cells.size(); ++c)
                writer.setCellText(e.sheetRow, c + 2, e.cells[c]);
        const QString path = dir.filePath(name);
        return writer.saveAs(path) ? path : QString();
    }
    // Every cell of the table, for "nothing changed" checks.
    static QStringList allCells(const NumberTable &table) {
        QStringList out;
        for (int r = 0; r < table.rows(); ++r)
            out += table.rowTexts(r);
        return out;
    }

private slots:
    // The CSV round trip carries an é: the 8-bit code page is fixed.
    void initTestCase() { CodePage::setOverride(1252); }
    void cleanupTestCase() { CodePage::setOverride(0); }
    void init() { op.clearHistory(); }

    void rowCheck_data() {
        QTest::addColumn<QList<Entry>>("entries");
        QTest::addColumn<QString>("message");
        const QString lead = QStringLiteral("Wrong information on the profile,please correct it "
                                            "and then import again,error:");
        QTest::newRow("good rows, either separator") << QList<Entry>{{2, good}, {3, good}} << "";
        QTest::newRow("no number: not examined") << QList<Entry>{{2, with(2, "")}} << "";
        QTest::newRow("Always: not examined")
            << QList<Entry>{{2, {"5551234", "x", "8:00", "", "", "yes", "no"}}} << "";
        QTest::newRow("Delete: not examined")
            << QList<Entry>{{2, {"5551234", "", "", "", "", "no", "yes"}}} << "";
        QTest::newRow("start time 8:00")
            << QList<Entry>{{2, with(4, "8:00")}} << lead + "1\rSerial: 1";
        QTest::newRow("start date 2024-5-17")
            << QList<Entry>{{3, with(3, "2024-5-17")}} << lead + "1\rSerial: 2";
        QTest::newRow("time with seconds")
            << QList<Entry>{{2, with(6, "18:00:00")}} << lead + "1\rSerial: 1";
        QTest::newRow("letters where the month is")
            << QList<Entry>{{2, with(5, "2024/MM/31")}} << lead + "1\rSerial: 1";
        QTest::newRow("empty end time") << QList<Entry>{{2, with(6, "")}} << lead + "1\rSerial: 1";
        QTest::newRow("Always other than yes is examined")
            << QList<Entry>{{2, {"1", "", "", "", "", "Yes", "no"}}} << lead + "1\rSerial: 1";
        QTest::newRow("two") << QList<Entry>{{2, with(4, "8:00")}, {4, with(4, "8:00")}}
                             << lead + "2\rSerial: 1,3";
        QTest::newRow("rows 5, 9, 12, 40") << QList<Entry>{{5, with(4, "8:00")},
                                                           {9, with(4, "8:00")},
                                                           {12, with(4, "8:00")},
                                                           {40, with(4, "8:00")}}
                                           << lead + "4\rSerial: 4,8,11,....";
    }
    void rowCheck() {
        QFETCH(QList<Entry>, entries);
        QFETCH(QString, message);
        QCOMPARE(NumberListRowCheck::problems(sheetOf(entries)), message);
    }

    // The start-up grid goes out and comes back unchanged; the file has the whole layout.
    void startUpGridRoundTrip() {
        NumberTable out;
        op.saveFiles.enqueue(dir.filePath(QStringLiteral("startup")));
        QVERIFY(exchange(out).ExportListWorkbook());
        const RecordingOperator::FileChoice choice = op.fileChoices.first();
        QCOMPARE(choice.folder, dir.path());
        QVERIFY2(isExportName(choice.suggestedName, "telinf_R"), qPrintable(choice.suggestedName));
        QCOMPARE(choice.filter, QStringLiteral("EXCEL file (*.xlsx);;(*.*)"));
        QCOMPARE(op.statusTexts.mid(0, 2), QStringList({"Save:1/3000", "Save:2/3000"}));
        QCOMPARE(op.statusTexts.mid(op.statusTexts.size() - 2),
                 QStringList({"Save:3000/3000", ""}));
        QVERIFY(!op.progressVisible);

        const QString path = dir.filePath(QStringLiteral("startup.xlsx"));
        WorkbookReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.displayedText(1, 4), QStringLiteral("Start Time "));
        QCOMPARE(reader.displayedText(3001, 1), QStringLiteral("3000"));
        QCOMPARE(reader.displayedText(3001, 8), QStringLiteral("no"));

        NumberTable in;
        in.setCell(NumberTable::Number, 7, QStringLiteral("+4930"));
        in.setCell(NumberTable::Always, 7, QStringLiteral("yes"));
        op.openFiles.enqueue(path);
        QVERIFY(exchange(in).ImportListWorkbook());
        QCOMPARE(op.fileChoices.last().filter, QStringLiteral("EXCEL file (*.xls *.xlsx);;(*.*)"));
        QCOMPARE(allCells(in), allCells(NumberTable()));
        QCOMPARE(op.statusText, QStringLiteral("Import.xls"));
    }

    // Entries in sheet rows 2..11 replace the whole list; the Delete marks are the grid's own.
    void importReplacesTheList() {
        QList<Entry> entries;
        for (int row = 2; row <= 11; ++row)
            entries << Entry{row, good};
        entries[0].cells =
            QStringList{"+998877665544", "2024/05/17", "08:00", "2024/12/31", "18:00", "no", "yes"};
        entries[1].cells = QStringList{"5551234", "junk", "", "", "", "yes", "no"};
        const QString path = workbook(QStringLiteral("ten.xlsx"), entries);
        NumberTable table;
        table.setCell(NumberTable::Number, 20, QStringLiteral("123"));
        table.setCell(NumberTable::StartTime, 20, QStringLiteral("09:00"));
        table.setCell(NumberTable::Always, 20, QStringLiteral("yes"));
        table.setCell(NumberTable::Delete, 20, QStringLiteral("yes"));
        table.setCell(NumberTable::Serial, 5, QStringLiteral("kept"));
        QVERIFY(exchange(table).loadWorkbook(path));
        QCOMPARE(table.rowTexts(1), QStringList({"1", "+998877665544", "2024/05/17", "08:00",
                                                 "2024/12/31", "18:00", "no", "no"}));
        QCOMPARE(table.rowTexts(2), QStringList({"2", "5551234", "junk", "", "", "", "yes", "no"}));
        QCOMPARE(table.rowTexts(5), QStringList({"kept", "0987654321", "2024/05/17", "08:00",
                                                 "2024-12-31", "18:00", "no", "no"}));
        QCOMPARE(table.rowTexts(20), QStringList({"20", "", "", "", "", "", "no", "yes"}));
        QVERIFY(op.messages.isEmpty());
    }

    void refusedWorkbooksChangeNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: a workbook with a faulty row
        QTest::addColumn<QString>("message");
        QTest::newRow("faulty row") << "faulty.xlsx" << QByteArray()
                                    << "Wrong information on the profile,please correct it and "
                                       "then import again,error:1\rSerial: 3";
        QTest::newRow("damaged") << "damaged.xlsx" << QByteArray("PK\x03\x04garbage")
                                 << "Cannot read the workbook";
        QTest::newRow("not a workbook")
            << "text.xls" << QByteArray("Serial,number\r\n") << "Cannot read the workbook";
    }
    void refusedWorkbooksChangeNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QString path = dir.filePath(name);
        if (bytes.isEmpty()) {
            path = workbook(name, {{2, good}, {4, with(3, "2024/5/17")}});
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        NumberTable table;
        table.setCell(NumberTable::Number, 1, QStringLiteral("42"));
        const QStringList before = allCells(table);
        QVERIFY(!exchange(table).loadWorkbook(path));
        QCOMPARE(op.messages.size(), 1);
        QVERIFY2(op.messages.first().text.startsWith(message),
                 qPrintable(op.messages.first().text));
        QCOMPARE(allCells(table), before);
    }

    // The settings profile and a legacy workbook of older spreadsheets, read by their content.
    void foreignWorkbooks_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("settings profile") << "profile"
                                          << "Wrong format of the setting profile";
        // Its rows hold a true time (shown with seconds) and a true number as the end date.
        QTest::newRow("legacy xls") << QStringLiteral(VELMORA_TEST_DATA "/workbooks/sample.xls")
                                    << "Wrong information on the profile,please correct it and "
                                       "then import again,error:2\rSerial: 1,2";
    }
    void foreignWorkbooks() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        if (path == QLatin1String("profile")) {
            WorkbookWriter writer;
            writer.setCellText(1, 1, QStringLiteral("Items"));
            path = dir.filePath(QStringLiteral("profile.xlsx"));
            QVERIFY(writer.saveAs(path));
        }
        NumberTable table;
        QVERIFY(!exchange(table).loadWorkbook(path));
        QCOMPARE(op.messageTexts(), QStringList{message});
    }

    // Rows past the 3000th entry were once dropped without a word.
    void listLongerThanTheDeviceIsRefused() {
        const QString path = workbook(QStringLiteral("long.xlsx"), {{3002, {"5551234"}}});
        QVERIFY(!path.isEmpty());
        NumberTable table;
        QVERIFY(!exchange(table).loadWorkbook(path));
        QCOMPARE(op.messageTexts(),
                 QStringList{"Cannot read the workbook \"" + path +
                             "\": the list holds more than 3000 entries (cell B3002 holds a "
                             "value)."});
    }

    void csvOfTheStartUpGrid() {
        QByteArray expected;
        for (int r = 1; r <= 3000; ++r)
            expected += QByteArray::number(r) + ",,,,,,no,no,,\r\n";
        expected += "3001,,,,,,,,,\r\n";
        NumberTable table;
        op.saveFiles.enqueue(dir.filePath(QStringLiteral("list.cvs")));
        QVERIFY(exchange(table).ExportListCsv());
        QCOMPARE(readAll(dir.filePath(QStringLiteral("list.cvs"))), expected);
        QVERIFY2(isExportName(op.fileChoices.first().suggestedName, "telinf_CSV", ".cvs"),
                 qPrintable(op.fileChoices.first().suggestedName));
        QCOMPARE(op.fileChoices.first().filter, QStringLiteral("CVS file (*.cvs *.cvs);;(*.*)"));
        QCOMPARE(op.statusTexts.first(), QStringLiteral("Export.csv:0/3000"));
        QCOMPARE(op.statusTexts.last(), QStringLiteral("Export.csv:3000/3000"));
        QVERIFY(!op.progressVisible);
    }

    void csvLines() {
        NumberTable table;
        setEntry(table, 1, {"0987654321", "2024/05/17", "08:00", "2024/12/31", "18:00"});
        table.setCell(NumberTable::Number, 2, QStringLiteral("+998877665544"));
        table.setCell(NumberTable::Always, 2, QStringLiteral("yes"));
        table.setCell(NumberTable::Number, 3, QStringLiteral("12,\"3\""));
        table.setCell(NumberTable::Number, 4, QStringLiteral("caf\u00e9"));
        const QList<QByteArray> lines =
            NumberListCsv::build(table, CodePage(1252)).split('\n').mid(0, 4);
        QCOMPARE(lines, QList<QByteArray>(
                            {"1,0987654321,2024/05/17,08:00,2024/12/31,18:00,no,no,,\r",
                             "2,+998877665544,,,,,yes,no,,\r", "3,\"12,\"\"3\"\"\",,,,,no,no,,\r",
                             "4,caf\xE9,,,,,no,no,,\r"}));
    }

    void cancelledDialogsWriteNothing() {
        NumberTable table;
        const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(!exchange(table).ExportListWorkbook());
        QVERIFY(!exchange(table).ExportListCsv());
        QVERIFY(!exchange(table).ImportListWorkbook());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(op.fileChoices.size(), 3);
    }

    // The comma-separated text read back: checked and loaded as the workbook is.
    // What the export writes comes back the same; the Delete marks are the grid's own.
    void exportRoundTrip() {
        NumberTable out;
        setEntry(out, 1, {"0987654321", "2024/05/17", "08:00", "2024-12-31", "18:00"});
        out.setCell(NumberTable::Number, 2, QStringLiteral("caf\u00e9, \"bar\""));
        out.setCell(NumberTable::Always, 2, QStringLiteral("yes"));
        out.setCell(NumberTable::Number, 3000, QStringLiteral("+8613800000000"));
        out.setCell(NumberTable::Always, 3000, QStringLiteral("yes"));
        out.setCell(NumberTable::Delete, 3000, QStringLiteral("yes"));
        QVERIFY(exchange(out).saveCsv(dir.filePath(QStringLiteral("list.cvs"))));

        NumberTable in;
        QVERIFY(exchange(in).loadFile(dir.filePath(QStringLiteral("list.cvs"))));
        QCOMPARE(in.rowTexts(1), QStringList({"1", "0987654321", "2024/05/17", "08:00",
                                              "2024-12-31", "18:00", "no", "no"}));
        QCOMPARE(in.rowTexts(2),
                 QStringList({"2", "caf\u00e9, \"bar\"", "", "", "", "", "yes", "no"}));
        QCOMPARE(in.rowTexts(3000),
                 QStringList({"3000", "+8613800000000", "", "", "", "", "yes", "no"}));
        QVERIFY(op.messages.isEmpty());
        QCOMPARE(op.statusText, QStringLiteral("Import.csv"));
    }

    void refusedFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = "1,0987654321,2024/05/17,08:00,2024/12/31,18:00,no,no,,\r\n";
        QTest::newRow("faulty row 3")
            << good + "2,,,,,,no,no,,\r\n3,5551234,2024/05/17,8:00,2024/12/31,18:00,no,no,,\r\n"
            << "Wrong information on the profile,please correct it and then import again,"
               "error:1\rSerial: 3";
        QTest::newRow("quote never closed") << good + "2,\"5551234,,,,,yes,no,,\r\n"
                                            << "Wrong format of the setting profile";
    }
    void refusedFilesChangeNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        NumberTable table;
        table.setCell(NumberTable::Number, 1, QStringLiteral("42"));
        table.setCell(NumberTable::Always, 1, QStringLiteral("yes"));
        const QStringList before = allCells(table);
        QVERIFY(!exchange(table).loadFile(file(QStringLiteral("refused.csv"), bytes)));
        QCOMPARE(op.messageTexts(), QStringList{message});
        QCOMPARE(allCells(table), before);
    }

    // A device file never ends: it is refused unread.
    void endlessFileIsRefused() {
        const QString path = dir.filePath(QStringLiteral("zero.csv"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        NumberTable table;
        const QStringList before = allCells(table);
        QVERIFY(!exchange(table).loadFile(path));
        QCOMPARE(op.messageTexts(),
                 QStringList{"Cannot read \"" + path + "\": it is not a regular file"});
        QCOMPARE(allCells(table), before);
    }
};

QTEST_GUILESS_MAIN(TestNumberListExchange)
#include "tst_numberlistexchange.moc"
