#include "RecordingOperator.h"
#include "exchange/CodePage.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The number list's comma-separated text read back: checked and loaded as the workbook is.
class TestNumberListCsvImport : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    RecordingOperator op;
    Tprogressbar_ctrl progress{op};
    Tstatusbar_ctrl status{op, progress};

    NumberListExchange exchange(NumberTable &table) {
        return NumberListExchange(table, op, status, progress, dir.path());
    }
    QString file(const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return f.fileName();
    }
    static QStringList allCells(const NumberTable &table) {
        QStringList out;
        for (int r = 0; r < table.rows(); ++r)
            out += table.rowTexts(r);
        return out;
    }

private slots:
    void initTestCase() { CodePage::setOverride(1252); }
    void cleanupTestCase() { CodePage::setOverride(0); }
    void init() { op.clearHistory(); }

    // What the export writes comes back the same; the Delete marks are the grid's own.
    void exportRoundTrip() {
        NumberTable out;
        const QStringList first = {"0987654321", "2024/05/17", "08:00", "2024-12-31", "18:00"};
        for (int c = 0; c < first.size(); ++c)
            out.setCell(c + 1, 1, first[c]);
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

    // A device file reports no size and never ends: reading stops at the limit.
    void endlessFileIsRefused() {
        const QString path = dir.filePath(QStringLiteral("zero.csv"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        NumberTable table;
        const QStringList before = allCells(table);
        QVERIFY(!exchange(table).loadFile(path));
        QCOMPARE(op.messageTexts(), QStringList{"Wrong format of the setting profile"});
        QCOMPARE(allCells(table), before);
    }
};

QTEST_GUILESS_MAIN(TestNumberListCsvImport)
#include "tst_numberlistcsvimport.moc"
