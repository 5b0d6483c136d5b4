#include "DifferenceDialog.h"
#include "NumberFindBar.h"
#include "NumberPage.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "ShownNumberPage.h"
#include "SimulatedDevice.h"
#include "TForm1.h"
#include "numbers/NumberRecord.h"
#include "numbers/NumberTable.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <array>

namespace {

// The number page shown on its own, with numbers in entries 2, 5 and 9 (and in 3000 for the
// find): sorted by number, as texts, the view shows 9, 3000, 2, 5 above the empty entries.
struct ShownPage : ShownNumberPage {
    ShownPage()
        : ShownNumberPage({900, 500}) {
        table.setCell(NumberTable::Number, 2, QStringLiteral("200"));
        table.setCell(NumberTable::StartDate, 2, QStringLiteral("2024/05/17"));
        table.setCell(NumberTable::Number, 5, QStringLiteral("300"));
        table.setCell(NumberTable::StartDate, 5, QStringLiteral("2023-01-02"));
        table.setCell(NumberTable::Number, 9, QStringLiteral("100"));
        table.setCell(NumberTable::Number, 3000, QStringLiteral("1300"));
    }

    void clickHeading(int col) {
        QHeaderView *h = grid.horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, 12));
    }
    // The serials of the first view rows, top to bottom.
    QStringList serialsShown(int count) const {
        QStringList out;
        for (int r = 0; r < count; ++r)
            out << grid.model()->index(r, NumberTable::Serial).data().toString();
        return out;
    }
    QString heading(int col) const {
        return grid.model()->headerData(col, Qt::Horizontal).toString();
    }
    QString currentSerial() const {
        return grid.currentIndex().siblingAtColumn(NumberTable::Serial).data().toString();
    }
};

// A list file of one entry: 1, "+4930", Always.
QString listFile(const QTemporaryDir &dir) {
    QFile csv(dir.filePath(QStringLiteral("list.csv")));
    if (!csv.open(QIODevice::WriteOnly) || csv.write("1,+4930,,,,,yes,no,,\r\n") < 0)
        return {};
    return csv.fileName();
}

} // namespace

class TestNumberPageTools : public QObject {
    Q_OBJECT
private slots:
    void headingsSortTheViewOnly() {
        ShownPage p;
        QVERIFY(p.ready());
        const QStringList slot5 = p.table.rowTexts(5);
        p.clickHeading(NumberTable::Number);
        QCOMPARE(p.serialsShown(5), QStringList({"9", "3000", "2", "5", "1"}));
        QCOMPARE(p.heading(NumberTable::Number), QStringLiteral("Authorized number \u25B2"));
        p.clickHeading(NumberTable::Number);
        QCOMPARE(p.serialsShown(5), QStringList({"5", "2", "3000", "9", "1"}));
        QCOMPARE(p.heading(NumberTable::Number), QStringLiteral("Authorized number \u25BC"));
        p.clickHeading(NumberTable::Number);
        QCOMPARE(p.serialsShown(3), QStringList({"1", "2", "3"}));
        QCOMPARE(p.heading(NumberTable::Number), QStringLiteral("Authorized number"));

        // A date the device wrote with dashes sorts among the others; the serial heading goes
        // back to slot order.
        p.clickHeading(NumberTable::StartDate);
        QCOMPARE(p.serialsShown(3), QStringList({"5", "2", "1"}));
        p.clickHeading(NumberTable::Serial);
        QCOMPARE(p.serialsShown(3), QStringList({"1", "2", "3"}));
        QCOMPARE(p.table.rowTexts(5), slot5);
    }

    // Edits made in a sorted view land in the entry's own slot, and the records a save builds
    // put every entry in its own place.
    void editsWhileSortedReachTheirSlots() {
        ShownPage p;
        QVERIFY(p.ready());
        p.clickHeading(NumberTable::Number);
        const QModelIndex top = p.grid.model()->index(0, NumberTable::Always);
        p.grid.setFocus();
        QTest::mouseClick(p.grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                          p.grid.visualRect(top).center());
        QCOMPARE(p.table.cell(NumberTable::Always, 9), QStringLiteral("yes"));
        QCOMPARE(p.table.cell(NumberTable::Always, 1), QStringLiteral("no"));

        std::array<uint8_t, 32> record{};
        NumberRecord::encode(p.table, 9, record.data());
        const std::array<uint8_t, 32> always9 = {
            '1', '0', '0', 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
            0,   0,   0,   0, 0, 0, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x00, 0x63};
        QCOMPARE(record, always9);
    }

    // Enter goes down the matches in the order the view shows them, round to the first.
    void findGoesFromMatchToMatch() {
        ShownPage p;
        QVERIFY(p.ready());
        QLineEdit *field = p.page.findBar()->field();
        QCOMPARE(field->placeholderText(), QStringLiteral("Find number"));
        QTest::keyClick(&p.page, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(field->hasFocus());

        QTest::keyClicks(field, "00");
        QCOMPARE(p.page.findBar()->countLabel()->text(), QStringLiteral("4 matches"));
        QCOMPARE(p.currentSerial(), QStringLiteral("2"));
        QVERIFY(p.grid.model()->index(1, NumberTable::Number).data(Qt::BackgroundRole).isValid());
        QVERIFY(!p.grid.model()->index(0, NumberTable::Number).data(Qt::BackgroundRole).isValid());

        p.clickHeading(NumberTable::Number);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(p.currentSerial(), QStringLiteral("5"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(p.currentSerial(), QStringLiteral("9"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(p.currentSerial(), QStringLiteral("3000"));
    }

    // "Import .CSV" is locked with the other operation buttons and loads the window's list.
    void csvImportButton() {
        QTemporaryDir dir;
        const QString csv = listFile(dir);
        QVERIFY(!csv.isEmpty());
        RecordingOperator op;
        TForm1 w(&op);
        NumberPage &page = *w.numberPage();
        QCOMPARE(page.importCsv->text(), QStringLiteral("Import .CSV"));
        QVERIFY(!page.importCsv->isEnabled());
        w.setOperationsLocked(false);
        QVERIFY(page.importCsv->isEnabled());
        op.openFiles.enqueue(csv);
        QTest::mouseClick(page.importCsv, Qt::LeftButton);
        QCOMPARE(op.fileChoices.last().folder, w.configurationFolder());
        QCOMPARE(w.numberTable().rowTexts(1),
                 QStringList({"1", "+4930", "", "", "", "", "yes", "no"}));
    }

    // "Compare with file…" reads the device beside the grid: the differences show in a list, the
    // operator's edit stays, and the page's own read fills the page again afterwards.
    void compareWithFile() {
        QTemporaryDir dir;
        const QString csv = listFile(dir);
        QVERIFY(!csv.isEmpty());
        SimulatedDevice device;
        QVERIFY(device.writeMemory(0x1000, QByteArray("555") + QByteArray(19, '\0') +
                                               QByteArray(8, '\x63') + QByteArray(1, '\0') +
                                               QByteArray(1, '\x63')));
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device.slavePath());
        QTest::mouseClick(w.btn8(), Qt::LeftButton);
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QTest::mouseClick(w.btn1(), Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        w.numberTable().setCell(NumberTable::Number, 7, QStringLiteral("777"));
        op.openFiles.enqueue(csv);
        QTest::mouseClick(w.numberPage()->compareFile, Qt::LeftButton);
        QVERIFY(ended.wait(20000));
        auto *dialog = w.findChild<DifferenceDialog *>();
        QVERIFY(dialog);
        QStringList rows;
        for (int r = 0; r < dialog->table()->rowCount(); ++r)
            rows << dialog->table()->item(r, 0)->text() + '|' +
                        dialog->table()->item(r, 1)->text() + '|' +
                        dialog->table()->item(r, 2)->text();
        QCOMPARE(rows, QStringList({"1|555 Always|+4930 Always"}));
        QCOMPARE(w.numberTable().cell(NumberTable::Number, 7), QStringLiteral("777"));
        QVERIFY(w.numberTable().cell(NumberTable::Number, 1).isEmpty());
        op.confirmAnswers.enqueue(true);
        QTest::mouseClick(w.numberPage()->read, Qt::LeftButton);
        QVERIFY(ended.wait(20000));
        QCOMPARE(w.numberTable().cell(NumberTable::Number, 1), QStringLiteral("555"));
    }
};

QTEST_MAIN(TestNumberPageTools)
#include "tst_numberpagetools.moc"
