#include "GridView.h"
#include "HistoryPage.h"
#include "RecordingOperator.h"
#include "SimulatedDevice.h"
#include "TForm1.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The history page in the logged-in window against a device holding 1000 sample events, the
// first at 2026-01-05 08:00:00 and one every 70 minutes and 11 seconds after it.
class TestHistoryPage : public QObject {
    Q_OBJECT
private slots:
    void readFilterExportAndDelete() {
        DeviceOptions options;
        options.historyCount = 1000;
        SimulatedDevice device(options);
        RecordingOperator op;
        TForm1 w(op);
        w.offerPort(device.slavePath());
        w.show();
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QTest::mouseClick(w.btn8(), Qt::LeftButton);
        QTest::mouseClick(w.btn1(), Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        HistoryPage &page = *w.historyPage();
        HistoryTable &table = w.historyTable();

        QTest::mouseClick(page.readData, Qt::LeftButton);
        QVERIFY(!page.readData->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return ended.size() == 2; }, 20000));
        QVERIFY(page.readData->isEnabled());
        QCOMPARE(table.cell(HistoryTable::RecordNo, 1000), QStringLiteral("1000"));
        QCOMPARE(table.rowTexts(1), (QStringList{"1", "1", "2026-01-05", "08:00:00", "COM Port",
                                                 "Add number", "+8613800131001", "Number added"}));
        QVERIFY(page.grid()->isColumnHidden(HistoryTable::RecordNo));
        QVERIFY(!page.showAll->isEnabled());

        page.dtp1->setDate(QDate(2026, 1, 5));
        page.dtp2->setTime(QTime(8, 0, 0));
        page.dtp3->setDate(QDate(2026, 1, 5));
        page.dtp4->setTime(QTime(11, 30, 33));
        QTest::mouseClick(page.filter, Qt::LeftButton);
        QCOMPARE(table.cell(HistoryTable::RecordNo, 1), QStringLiteral("2"));
        QCOMPARE(table.cell(HistoryTable::RecordNo, 2), QStringLiteral("3"));
        QVERIFY(table.cell(HistoryTable::RecordNo, 3).isEmpty());

        QTemporaryDir dir;
        op.saveFiles << dir.filePath("h.cvs");
        QTest::mouseClick(page.exportCsv, Qt::LeftButton);
        QCOMPARE(op.fileChoices.last().folder, w.configurationFolder());
        QFile csv(dir.filePath("h.cvs"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 2);

        const int requests = device.requestCount();
        op.warnAnswers << false;
        QTest::mouseClick(page.deleteAll, Qt::LeftButton);
        QCOMPARE(op.warnings.last().text,
                 QStringLiteral("Warning: Thie operation will DELETE all of the historical data "
                                "on GSM device! "));
        QCOMPARE(device.requestCount(), requests);
        QTest::mouseClick(page.deleteAll, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return ended.size() == 3; }, 5000));
        QCOMPARE(op.messageTexts().last(), QStringLiteral("Historical data deleted"));
        QCOMPARE(table.cell(HistoryTable::RecordNo, 2), QStringLiteral("3"));

        // "Show all" brings back the rows of the read, once.
        QVERIFY(page.showAll->isEnabled());
        QTest::mouseClick(page.showAll, Qt::LeftButton);
        QCOMPARE(table.cell(HistoryTable::RecordNo, 2), QStringLiteral("2"));
        QCOMPARE(table.cell(HistoryTable::RecordNo, 1000), QStringLiteral("1000"));
        QVERIFY(!page.showAll->isEnabled());
    }

    // "Load" needs no device; a file that is no history export leaves the grid as it was.
    void loadShowsAnExportedFile() {
        RecordingOperator op;
        TForm1 w(op);
        w.show();
        HistoryPage &page = *w.historyPage();
        QVERIFY(!page.load->isHidden() && page.load->isEnabled());
        QTemporaryDir dir;
        QFile csv(dir.filePath("h.cvs"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("1,12,2015-03-07,07:05:09,SMS,Relay ON,+49300000000,\"Gate, north\",,\r\n");
        csv.close();
        op.openFiles << csv.fileName() << dir.path();
        QTest::mouseClick(page.load, Qt::LeftButton);
        const QStringList loaded{"1",   "12",       "2015-03-07",   "07:05:09",
                                 "SMS", "Relay ON", "+49300000000", "Gate, north"};
        QCOMPARE(w.historyTable().rowTexts(1), loaded);
        QVERIFY(op.messages.isEmpty());
        QTest::mouseClick(page.load, Qt::LeftButton);
        QCOMPARE(op.messages.size(), 1);
        QCOMPARE(w.historyTable().rowTexts(1), loaded);
    }
};

QTEST_MAIN(TestHistoryPage)
#include "tst_historypage.moc"
