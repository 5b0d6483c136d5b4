#include "GridUndo.h"
#include "NumberGridView.h"
#include "NumberPage.h"
#include "PageControl.h"
#include "RecordingOperator.h"
#include "SettingsPage.h"
#include "SimulatedDevice.h"
#include "TForm1.h"
#include "numbers/NumberListExchange.h"

#include <QClipboard>
#include <QComboBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The window shown and active on one of its pages, so that its keys reach the page.
struct Window {
    RecordingOperator op;
    TForm1 w{&op};
    QTemporaryDir dir;

    explicit Window(int page) {
        w.pageControl()->setCurrentIndex(page);
        w.show();
        w.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&w); }
    NumberGridView &grid() { return *w.numberPage()->grid(); }
    NumberTable &numbers() { return w.numberTable(); }
    QModelIndex at(int entry, int col) { return grid().model()->index(entry - 1, col); }
    void click(int entry, int col) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid().visualRect(at(entry, col)).center());
    }
    void keys(Qt::KeyboardModifiers modifiers, Qt::Key key) {
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &w, key, modifiers);
    }
    void undo() { keys(Qt::ControlModifier, Qt::Key_Z); }
    void type(const QString &text) {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
};

using Action = std::function<void(Window &)>;
using Cell = QPair<int, int>; // entry, column

const QStringList someWindow{"2024/05/17", "08:00", "2024/06/01", "18:00"};

} // namespace

class TestGridUndo : public QObject {
    Q_OBJECT
private slots:
    void numberPageSteps_data() {
        QTest::addColumn<Action>("setUp");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QList<Cell>>("cells");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        const Action nothing = [](Window &) {};

        // What the cell's editor hands the view's model when the operator presses Enter.
        QTest::newRow("typing") << nothing << Action([](Window &win) {
            win.grid().model()->setData(win.at(1, NumberTable::Number), "5551234");
        }) << QList<Cell>{{1, NumberTable::Number}}
                                << QStringList{""} << QStringList{"5551234"};

        QTest::newRow("Always empties the window") << Action([](Window &win) {
            for (int i = 0; i < 4; ++i)
                win.numbers().setCell(NumberTable::StartDate + i, 2, someWindow[i]);
        }) << Action([](Window &win) { win.click(2, NumberTable::Always); })
                                                   << QList<Cell>{{2, NumberTable::Always},
                                                                  {2, NumberTable::StartDate},
                                                                  {2, NumberTable::StartTime},
                                                                  {2, NumberTable::EndDate},
                                                                  {2, NumberTable::EndTime}}
                                                   << (QStringList{"no"} + someWindow)
                                                   << QStringList{"yes", "", "", "", ""};

        // Undone, the button's next press sets "yes" again.
        QTest::newRow("Delete all")
            << nothing << Action([](Window &win) { win.w.numberPage()->deleteAll->click(); })
            << QList<Cell>{{1, NumberTable::Delete}, {3000, NumberTable::Delete}}
            << QStringList{"no", "no"} << QStringList{"yes", "yes"};

        // Entries 2 and 4 ended in 2024; entry 3 runs until 2099 and stays.
        QTest::newRow("Remove expired") << Action([](Window &win) {
            for (int entry : {2, 3, 4}) {
                win.numbers().setCell(NumberTable::Number, entry, "+49" + QString::number(entry));
                for (int i = 0; i < 4; ++i)
                    win.numbers().setCell(NumberTable::StartDate + i, entry, someWindow[i]);
            }
            win.numbers().setCell(NumberTable::EndDate, 3, "2099/01/01");
        }) << Action([](Window &win) { win.w.numberPage()->removeExpired->click(); })
                                        << QList<Cell>{{2, NumberTable::Delete},
                                                       {3, NumberTable::Delete},
                                                       {4, NumberTable::Delete}}
                                        << QStringList{"no", "no", "no"}
                                        << QStringList{"yes", "no", "yes"};

        QTest::newRow("import") << Action([](Window &win) {
            NumberTable source;
            source.setCell(NumberTable::Number, 1, "+4930123456");
            source.setCell(NumberTable::Always, 1, "yes");
            const QString path = win.dir.filePath("list.xlsx");
            QVERIFY(NumberListExchange(source, win.w.session(), win.dir.path()).saveWorkbook(path));
            win.op.openFiles.enqueue(path);
            win.op.openFiles.enqueue(path);
            win.numbers().setCell(NumberTable::Number, 5, "777");
        }) << Action([](Window &win) { win.w.numberPage()->importXls->click(); })
                                << QList<Cell>{{1, NumberTable::Number},
                                               {1, NumberTable::Always},
                                               {5, NumberTable::Number}}
                                << QStringList{"", "no", "777"}
                                << QStringList{"+4930123456", "yes", ""};
    }
    void numberPageSteps() {
        QFETCH(Action, setUp);
        QFETCH(Action, action);
        QFETCH(QList<Cell>, cells);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        Window win(1);
        QVERIFY(win.ready());
        win.w.setOperationsLocked(false);
        setUp(win);
        QCoreApplication::processEvents();
        win.w.numberPage()->undo()->stack().clear();
        const auto texts = [&] {
            QStringList out;
            for (const auto &[entry, col] : cells)
                out << win.numbers().cell(col, entry);
            return out;
        };
        // The change markers follow the texts: an undone edit leaves no mark of its own.
        const auto marks = [&] {
            QList<bool> out;
            for (const auto &[entry, col] : cells)
                out << win.numbers().isCellChanged(col, entry);
            return out;
        };
        const QList<bool> marksBefore = marks();

        action(win);
        QCOMPARE(texts(), after);
        QCoreApplication::processEvents();
        QCOMPARE(win.w.numberPage()->undo()->stack().count(), 1);
        win.grid().setFocus();
        win.undo();
        QCOMPARE(texts(), before);
        // An import is also the new baseline, and stays so when the import is undone.
        if (QByteArrayView(QTest::currentDataTag()) != "import")
            QCOMPARE(marks(), marksBefore);
        win.keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        QCOMPARE(texts(), after);
        win.undo();
        QCOMPARE(texts(), before);
        win.keys(Qt::ControlModifier, Qt::Key_Y);
        QCOMPARE(texts(), after);
        win.undo();
        action(win);
        QCOMPARE(texts(), after);
    }

    // A value typed into the settings grid is undone whole, however many keys it took; the next
    // edit of the cell (a paste) is a step of its own.
    void settingsCellEditIsOneStep() {
        Window win(0);
        QVERIFY(win.ready());
        SettingsTable &table = win.w.settingsTable();
        SettingsGridView &grid = *win.w.settingsPage()->grid();
        grid.setFocus();
        grid.setCurrentIndex(table.index(5, SettingsTable::ValueColumn));
        win.type("Hello");
        QCOMPARE(table.value(5), QStringLiteral("Hello"));
        win.undo();
        QCOMPARE(table.value(5), QStringLiteral("Unauthorized door opened"));
        win.keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        QCOMPARE(table.value(5), QStringLiteral("Hello"));
        win.keys(Qt::NoModifier, Qt::Key_Return);
        win.keys(Qt::NoModifier, Qt::Key_F2);
        win.keys(Qt::NoModifier, Qt::Key_End);
        QGuiApplication::clipboard()->setText(QStringLiteral(" world"));
        win.keys(Qt::ControlModifier, Qt::Key_V);
        win.keys(Qt::NoModifier, Qt::Key_Return);
        QCOMPARE(table.value(5), QStringLiteral("Hello world"));
        win.undo();
        QCOMPARE(table.value(5), QStringLiteral("Hello"));
    }

    // A picked choice and the text its list leaves in the cell are one step; a read empties the
    // page's history, and Ctrl+Z on the settings page leaves the number page alone.
    void settingsChoiceAndRead() {
        SimulatedDevice device;
        Window win(0);
        win.w.offerPort(device.slavePath());
        QVERIFY(win.ready());
        QTest::mouseClick(win.w.btn8(), Qt::LeftButton);
        QSignalSpy ended(&win.w.session(), &Session::operationEnded);
        QTest::mouseClick(win.w.btn1(), Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        SettingsTable &table = win.w.settingsTable();
        QUndoStack &history = win.w.settingsPage()->undo()->stack();
        history.clear();
        win.numbers().setCell(NumberTable::Number, 9, "123");

        QComboBox *din1 = win.w.settingsPage()->grid()->choiceEditor(3);
        const QString shown = table.value(3);
        din1->setCurrentIndex(0);
        QCoreApplication::processEvents();
        table.leaveChoice(3);
        QCoreApplication::processEvents();
        QCOMPARE(table.value(3), QStringLiteral("0:NC "));
        QCOMPARE(history.count(), 1);
        win.w.settingsPage()->grid()->setFocus();
        win.undo();
        QCOMPARE(table.choiceIndex(3), 1);
        QCOMPARE(din1->currentIndex(), 1);
        QCOMPARE(table.value(3), shown);
        QCOMPARE(win.numbers().cell(NumberTable::Number, 9), QStringLiteral("123"));
        win.keys(Qt::ControlModifier, Qt::Key_Y);
        QCOMPARE(table.choiceIndex(3), 0);
        QCOMPARE(table.value(3), QStringLiteral("0:NC "));

        table.setValue(5, "Back door");
        QCoreApplication::processEvents();
        QVERIFY(history.canUndo());
        ended.clear();
        QTest::mouseClick(win.w.settingsPage()->readSettings, Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        QVERIFY(ended.first().at(0).toBool());
        QCOMPARE(history.count(), 0);
        const QString read = table.value(5);
        QVERIFY(read != QStringLiteral("Back door"));
        win.w.settingsPage()->grid()->setFocus();
        win.undo();
        QCOMPARE(table.value(5), read);
    }
};

QTEST_MAIN(TestGridUndo)
#include "tst_gridundo.moc"
