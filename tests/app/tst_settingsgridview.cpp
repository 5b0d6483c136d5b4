#include "SettingsGridView.h"
#include "SettingsPage.h"
#include "TForm1.h"
#include "exchange/CodePage.h"
#include "settings/SettingsTable.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

constexpr int Value = SettingsTable::ValueColumn;

// A grid shown on its own, active, so that keys reach the cell editors as they would for a
// person.
struct ShownGrid {
    SettingsTable table;
    SettingsGridView view{table};

    explicit ShownGrid(QSize size = QSize(900, 620)) {
        view.resize(size);
        view.show();
        view.activateWindow();
        view.setFocus();
    }
    bool ready() { return QTest::qWaitForWindowActive(&view); }

    QRect cellRect(int row, int col = Value) const {
        return view.visualRect(table.index(row, col));
    }
    void select(int row, int col = Value) { view.setCurrentIndex(table.index(row, col)); }

    // Each character as its own key press, to whatever has the focus: the grid, or the cell
    // editor that the first key opened.
    void type(const QString &text) {
        for (QChar c : text) {
            QWidget *target = QApplication::focusWidget();
            const Qt::Key key = c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue())
                                : c.isLetter() && c.unicode() < 128
                                    ? Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A'))
                                    : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, target ? target : &view, key, QString(c),
                                Qt::NoModifier);
        }
    }
    void press(Qt::Key key) {
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &view, key);
    }
    int currentRow() const { return view.currentIndex().row(); }
    // A cell editor has the keyboard.
    bool editing() const {
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        return editor && editor->parentWidget() == view.viewport();
    }
};

bool allChoicesShown(const ShownGrid &g) {
    for (int row : SettingsTable::ChoiceRows)
        if (!g.view.choiceEditor(row)->isVisible())
            return false;
    return true;
}

bool choicesOverTheirCells(const ShownGrid &g) {
    for (int row : SettingsTable::ChoiceRows)
        if (g.view.choiceEditor(row)->geometry() != g.cellRect(row))
            return false;
    return true;
}

} // namespace

class TestSettingsGridView : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CodePage::setOverride(0); }

    void layout() {
        ShownGrid g;
        QVERIFY(g.ready());
        QCOMPARE(g.view.objectName(), QStringLiteral("strngrd_write"));
        QCOMPARE(g.view.columnWidth(0), 275);
        QCOMPARE(g.view.columnWidth(1), 201);
        QCOMPARE(g.view.columnWidth(2), 391);
        for (int row = 0; row < SettingsTable::RowCount; ++row) {
            const int expected = row == 1 ? 22 : row == 8 ? 26 : 24;
            QCOMPARE(g.view.rowHeight(row), expected);
        }
        // The headings are the grid's first row, not a separate header.
        QVERIFY(g.view.horizontalHeader()->isHidden());
        QCOMPARE(g.view.model()->index(0, 1).data().toString(), QStringLiteral("Content"));
    }

    void headingFillAndCentredText() {
        ShownGrid g;
        QVERIFY(g.ready());
        const QColor heading(166, 202, 240);
        for (int col = 0; col < 3; ++col) {
            const QRect cell = g.cellRect(0, col);
            const QImage img = g.view.viewport()->grab(cell).toImage();
            QCOMPARE(img.pixelColor(2, 2), heading);
            // The text's ink sits in the middle of the cell, both ways.
            QRect ink;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QColor p = img.pixelColor(x, y);
                    if (p.red() + p.green() + p.blue() < 300)
                        ink |= QRect(x, y, 1, 1);
                }
            QVERIFY2(!ink.isEmpty(), "heading text drawn");
            QVERIFY(qAbs(ink.center().x() - img.width() / 2) <= 3);
            QVERIFY(qAbs(ink.center().y() - img.height() / 2) <= 3);
        }
        const QImage value = g.view.viewport()->grab(g.cellRect(5)).toImage();
        QVERIFY(value.pixelColor(2, 2) != heading);
        const QImage caption = g.view.viewport()->grab(g.cellRect(5, 0)).toImage();
        QCOMPARE(caption.pixelColor(2, 2), g.view.palette().color(QPalette::Button));
    }

    void typingRules_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("selectedRow");
        QTest::newRow("password, three digits") << 1 << "123"
                                                << "123" << 1;
        QTest::newRow("password, fourth digit moves on") << 1 << "1234"
                                                         << "1234" << 2;
        QTest::newRow("password, letter dropped") << 1 << "12x"
                                                  << "12" << 1;
        QTest::newRow("auto arm, letter after two digits") << 7 << "12a"
                                                           << "12" << 8;
        QTest::newRow("auto arm, letter dropped") << 7 << "1a"
                                                  << "1" << 7;
        QTest::newRow("relay timer, three digits") << 10 << "999"
                                                   << "999" << 11;
        QTest::newRow("upload interval, four digits") << 17 << "1234"
                                                      << "1234" << 18;
        QTest::newRow("alarm text, 39 characters")
            << 5 << QString(39, 'x') << QString(39, 'x') << 5;
        QTest::newRow("alarm text, 40th character")
            << 5 << QString(40, 'x') << QString(40, 'x') << 6;
        QTest::newRow("SMS text, 40th character")
            << 14 << QString(40, 'r') << QString(40, 'r') << 15;
        QTest::newRow("server address, 32nd") << 18 << QString(32, '1') << QString(32, '1') << 19;
        QTest::newRow("port takes letters") << 19 << "ab"
                                            << "ab" << 19;
        QTest::newRow("port, fifth character") << 19 << "8080a"
                                               << "8080a" << 20;
        QTest::newRow("APN, 16th") << 20 << QString(16, 'a') << QString(16, 'a') << 21;
        QTest::newRow("GPRS password, 15") << 22 << QString(15, 'p') << QString(15, 'p') << 22;
        QTest::newRow("GPRS password, 16th goes up")
            << 22 << QString(16, 'p') << QString(16, 'p') << 21;
        QTest::newRow("input type rejects typing") << 3 << "1"
                                                   << "" << 4;
        QTest::newRow("notify rejects typing") << 12 << "x"
                                               << "" << 13;
        QTest::newRow("text row refuses what the code page cannot hold") << 5 << "T中a"
                                                                         << "Ta" << 5;
    }
    void typingRules() {
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, cell);
        QFETCH(int, selectedRow);
        CodePage::setOverride(1252);
        ShownGrid g;
        QVERIFY(g.ready());
        g.table.setValue(3, QStringLiteral("1:NO"));
        g.select(row);
        g.type(keys);
        QCOMPARE(g.table.value(row), cell);
        QCOMPARE(g.currentRow(), selectedRow);
        QCOMPARE(g.view.currentIndex().column(), Value);
        // Reaching a limit ends the edit; below it the operator is still typing.
        QCOMPARE(g.editing(), selectedRow == row);
    }

    // Typing goes on in the row the limit moved to.
    void typingCarriesOnInTheNextRow() {
        ShownGrid g;
        QVERIFY(g.ready());
        g.select(1);
        g.type(QStringLiteral("123456"));
        QCOMPARE(g.table.value(1), QStringLiteral("1234"));
        QCOMPARE(g.table.value(2), QStringLiteral("56"));
        QCOMPARE(g.currentRow(), 2);
    }

    // A "+" that came from the device stays while digits are added; a typed one does not.
    void phoneNumberKeepsItsPlus() {
        ShownGrid g;
        QVERIFY(g.ready());
        g.table.setValue(2, QStringLiteral("+8613"));
        g.select(2);
        g.press(Qt::Key_F2);
        QVERIFY(g.editing());
        g.press(Qt::Key_End);
        g.type(QStringLiteral("7+"));
        QCOMPARE(g.table.value(2), QStringLiteral("+86137"));
        QCOMPARE(g.currentRow(), 2);
    }

    // A paste goes through the same rules as typing.
    void pasteKeepsThePasswordsDigits() {
        ShownGrid g;
        QVERIFY(g.ready());
        g.select(1);
        g.press(Qt::Key_F2);
        QVERIFY(g.editing());
        QGuiApplication::clipboard()->setText(QStringLiteral("7a82"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(g.table.value(1), QStringLiteral("782"));
        QCOMPARE(g.currentRow(), 1);
        QVERIFY(g.editing());
    }

    // Limits count bytes of the code page: a two-byte character counts 2 and is never split.
    void limitsCountCodePageBytes() {
        CodePage::setOverride(936);
        ShownGrid g;
        QVERIFY(g.ready());
        const QString seven = QStringLiteral("开门报警短信内");
        g.select(22);
        g.type(seven);
        QCOMPARE(g.currentRow(), 22);
        g.type(QStringLiteral("容"));
        QCOMPARE(g.table.value(22), seven + QStringLiteral("容"));
        QCOMPARE(g.currentRow(), 21);

        // 39 bytes, then a character whose two bytes do not fit: it is cut off whole.
        const QString text = QString(19, QChar(0x95E8)) + QLatin1Char('a');
        g.select(5);
        g.type(text);
        QCOMPARE(g.currentRow(), 5);
        g.type(QStringLiteral("门"));
        QCOMPARE(g.table.value(5), text);
        QCOMPARE(g.currentRow(), 6);
    }

    // Keys on a cell that takes no typing change nothing, not even which cell is current (the
    // keys spell the start of another cell in the same column).
    void onlyValuesAreEditable_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("keys");
        QTest::newRow("description 2") << 2 << 2 << "Up";
        QTest::newRow("description 19") << 19 << 2 << "Def";
        QTest::newRow("caption 5") << 5 << 0 << "1.";
        QTest::newRow("heading") << 0 << 1 << "Un";
    }
    void onlyValuesAreEditable() {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, keys);
        ShownGrid g;
        QVERIFY(g.ready());
        const QString before = g.table.cell(col, row);
        g.select(row, col);
        g.type(keys);
        QVERIFY(!g.editing());
        QCOMPARE(g.view.currentIndex(), g.table.index(row, col));
        QTest::mouseDClick(g.view.viewport(), Qt::LeftButton, {}, g.cellRect(row, col).center());
        QVERIFY(!g.editing());
        QCOMPARE(g.table.cell(col, row), before);
    }

    void choiceEditorsLieOverTheirCells() {
        ShownGrid g;
        const char *names[] = {"cbb1", "cbb2", "cbb4", "cbb3", "cbb10", "cbb12"};
        for (size_t i = 0; i < SettingsTable::ChoiceRows.size(); ++i) {
            const int row = SettingsTable::ChoiceRows[i];
            QComboBox *box = g.view.choiceEditor(row);
            QVERIFY(box);
            QCOMPARE(box->objectName(), QLatin1String(names[i]));
            QVERIFY(!box->isEditable());
            QStringList items;
            for (int k = 0; k < box->count(); ++k)
                items << box->itemText(k);
            QCOMPARE(items, SettingsTable::choiceItems(row));
            QCOMPARE(box->currentIndex(), g.table.choiceIndex(row));
        }
        QVERIFY(!g.view.choiceEditor(5));
        QVERIFY(g.ready());
        // Drawing the cells places the lists over them.
        QTRY_VERIFY(allChoicesShown(g));
        QVERIFY(choicesOverTheirCells(g));
        for (int row : SettingsTable::ChoiceRows)
            QVERIFY(g.table.isChoiceShown(row));
    }

    void choiceSelectionIsShared() {
        ShownGrid g;
        QVERIFY(g.ready());
        QComboBox *notify = g.view.choiceEditor(11);
        g.table.setChoiceIndex(11, 1);
        QCOMPARE(notify->currentIndex(), 1);
        g.table.setChoiceIndex(11, -1);
        QCOMPARE(notify->currentIndex(), -1);
        notify->setCurrentIndex(2);
        QCOMPARE(g.table.choiceIndex(11), 2);
        QCOMPARE(g.table.choiceIndex(12), 3);
        // Choosing does not write the cell; leaving the list does.
        QVERIFY(g.table.value(11).isEmpty());
    }

    void leavingAChoiceWritesItsText_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("text");
        QTest::newRow("DIN1 type") << 3 << 0 << "0:NC ";
        QTest::newRow("DIN2 type") << 4 << 1 << "1:NO";
        QTest::newRow("arm at power on") << 8 << 1 << "1:Arm";
        QTest::newRow("relay control") << 9 << 0 << "0:All number can call to control the Relay";
        QTest::newRow("notify on") << 11 << 2 << "2:Caller Number";
        QTest::newRow("notify off") << 12 << 3 << "3:Admin Number;Caller Number";
    }
    void leavingAChoiceWritesItsText() {
        QFETCH(int, row);
        QFETCH(int, item);
        QFETCH(QString, text);
        ShownGrid g;
        QVERIFY(g.ready());
        QTRY_VERIFY(allChoicesShown(g));
        QComboBox *box = g.view.choiceEditor(row);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->setCurrentIndex(item);
        QVERIFY(g.table.value(row).isEmpty());
        g.view.setFocus();
        QCOMPARE(g.table.value(row), text);
        for (int other : SettingsTable::ChoiceRows)
            if (other != row)
                QVERIFY(g.table.value(other).isEmpty());
    }

    // Opening a list's drop-down to pick an item is not leaving the list.
    void droppingDownIsNotLeaving() {
        ShownGrid g;
        QVERIFY(g.ready());
        QTRY_VERIFY(allChoicesShown(g));
        QComboBox *box = g.view.choiceEditor(11);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->showPopup();
        QTRY_VERIFY(box->view()->isVisible());
        QVERIFY(g.table.value(11).isEmpty());
        box->setCurrentIndex(1);
        box->hidePopup();
        QVERIFY(g.table.value(11).isEmpty());
        g.view.setFocus();
        QCOMPARE(g.table.value(11), QStringLiteral("1:Admin Number"));
    }

    // A window that goes with a cell editor open: the editor's leaving reaches the table and the
    // undo history while they are whole (the sanitizer builds see a use after destruction).
    void windowGoesWithAnEditorOpen() {
        auto w = std::make_unique<TForm1>();
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        SettingsGridView *grid = w->settingsPage()->grid();
        grid->setFocus();
        grid->setCurrentIndex(w->settingsTable().index(2, Value));
        QTest::keyClicks(QApplication::focusWidget(), "12");
        QVERIFY(QApplication::focusWidget() != grid);
        w.reset();
    }

    // On the first page, over the window's own table: a sideways scroll hides the lists, and
    // they come back over their cells where these are drawn now.
    void sidewaysScrollOnTheSettingsPage() {
        TForm1 w;
        SettingsGridView *grid = w.settingsPage()->grid();
        SettingsTable &table = w.settingsTable();
        QCOMPARE(&grid->table(), &table);
        grid->setFixedWidth(520);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const auto allShownOverCells = [&] {
            for (int row : SettingsTable::ChoiceRows) {
                QComboBox *box = grid->choiceEditor(row);
                if (!box->isVisible() ||
                    box->geometry() != grid->visualRect(table.index(row, Value)))
                    return false;
            }
            return true;
        };
        QTRY_VERIFY(allShownOverCells());

        // Moved as the operator drags the slider.
        QScrollBar *bar = grid->horizontalScrollBar();
        QVERIFY(bar->maximum() >= 120);
        bar->setSliderPosition(120);
        QCOMPARE(w.windowTitle(), QStringLiteral("滚动条位置:120"));
        for (int row : SettingsTable::ChoiceRows)
            QVERIFY(!grid->choiceEditor(row)->isVisible());
        QTRY_VERIFY(allShownOverCells());
        QCOMPARE(grid->visualRect(table.index(3, Value)).left(), 275 - 120);

        // A list that the transfer shows goes straight over its cell.
        bar->setSliderPosition(40);
        QVERIFY(!grid->choiceEditor(9)->isVisible());
        table.showChoice(9);
        QVERIFY(grid->choiceEditor(9)->isVisible());
        QCOMPARE(grid->choiceEditor(9)->geometry(), grid->visualRect(table.index(9, Value)));
    }
};

QTEST_MAIN(TestSettingsGridView)
#include "tst_settingsgridview.moc"
