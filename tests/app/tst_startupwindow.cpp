#include "CellDelegate.h"
#include "GridView.h"
#include "HelpPage.h"
#include "HistoryPage.h"
#include "NumberPage.h"
#include "PageControl.h"
#include "SettingsPage.h"
#include "SideTabBar.h"
#include "StatusPanels.h"
#include "TForm1.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

class TestStartupWindow : public QObject {
    Q_OBJECT
private slots:
    void windowFrame() {
        TForm1 w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Velmora Configurator V1.7"));
        QCOMPARE(w.size(), QSize(1054, 653));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    }

    void centring_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("1280x800") << QSize(1280, 800) << QPoint(113, 53);
        QTest::newRow("1920x1080") << QSize(1920, 1080) << QPoint(433, 193);
        QTest::newRow("odd sizes") << QSize(1055, 694) << QPoint(0, 0);
        // Smaller than the window: negative, rounded toward zero as computed.
        QTest::newRow("800x600") << QSize(800, 600) << QPoint(-127, -46);
        QTest::newRow("1053x692") << QSize(1053, 692) << QPoint(0, 0);
        QTest::newRow("1051x690") << QSize(1051, 690) << QPoint(-1, -1);
    }
    void centring() {
        QFETCH(QSize, screen);
        QFETCH(QPoint, expected);
        QCOMPARE(TForm1::centredPosition(screen, QSize(1054, 653)), expected);
    }

    // Where the centred window does not fit the area the panels leave, it moves into it, and
    // on a smaller area it is as large as the area (the frame counted as 40 pixels of height).
    void placement_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("1280x800") << QRect(0, 0, 1280, 800) << QRect(0, 0, 1280, 770)
                                  << QRect(113, 53, 1054, 653);
        QTest::newRow("1024x600") << QRect(0, 0, 1024, 600) << QRect(0, 0, 1024, 576)
                                  << QRect(0, 0, 1024, 536);
        QTest::newRow("second screen") << QRect(1280, 0, 1024, 600) << QRect(1280, 30, 1024, 570)
                                       << QRect(1280, 30, 1024, 530);
    }
    void placement() {
        QFETCH(QRect, screen);
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        QCOMPARE(TForm1::placement(screen, available, QSize(1054, 653)), expected);
    }

    // The first three captions appear only when the window is first shown.
    void tabCaptions() {
        TForm1 w;
        PageControl *pages = w.pageControl();
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabPosition(), QTabWidget::West);
        QCOMPARE(pages->tabText(3), QStringLiteral("Help"));
        QVERIFY(pages->tabText(0).isEmpty());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(pages->tabText(0), QStringLiteral("Basic\r\nSettings"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Number\r\nList"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Historical\r\nData"));
        QCOMPARE(pages->tabText(3), QStringLiteral("Help"));
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(pages->sideTabBar()->tabRect(1).size(), QSize(75, 80));
    }

    void topBar() {
        TForm1 w;
        w.show();
        QVERIFY(w.cbb9()->isEditable());
        QCOMPARE(w.btn8()->text(), QStringLiteral("Open"));
        QCOMPARE(w.edt3()->text(), QStringLiteral("7482"));
        QCOMPARE(w.btn1()->text(), QStringLiteral("Log in"));
        for (QWidget *c : {static_cast<QWidget *>(w.cbb9()), static_cast<QWidget *>(w.btn8()),
                           static_cast<QWidget *>(w.edt3()), static_cast<QWidget *>(w.btn1())}) {
            QVERIFY(c->isEnabled());
            QVERIFY(c->isVisible());
            QVERIFY(c->y() + c->height() <= TForm1::TopBarHeight);
        }
    }

    // The simulated device's terminal goes before the machine's own ports and is selected.
    void offeredPortComesFirst() {
        TForm1 w;
        const int before = w.cbb9()->count();
        w.offerPort(QStringLiteral("/dev/pts/7"));
        QCOMPARE(w.cbb9()->count(), before + 1);
        QCOMPARE(w.cbb9()->itemText(0), QStringLiteral("/dev/pts/7"));
        QCOMPARE(w.cbb9()->currentText(), QStringLiteral("/dev/pts/7"));
    }

    // Every operation waits for a login; the hidden ones stay out of sight.
    void operationButtonsLockedAtStart() {
        TForm1 w;
        w.show();
        const QList<QPushButton *> buttons = w.operationButtons();
        const QStringList captions{
            "HEX设置模式",    "同步时间",    "Read Settings", "Save Settings", "Import profile",
            "Export profile", "Read",        "Save",          "Import .XLS",   "Export .XLS",
            "Read data",      "Filter",      "Delete all",    "Export.XLS",    "Export.CSV",
            "清空界面记录",   "Export .CSV", "All Always",    "Delete all",    "清空界面信息",
            "Import .CSV"};
        const QSet<QString> hiddenOnes{"HEX设置模式", "同步时间", "清空界面记录", "清空界面信息"};
        QCOMPARE(buttons.size(), captions.size());
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->text(), captions[i]);
            QVERIFY2(!buttons[i]->isEnabled(), qPrintable(captions[i]));
            QCOMPARE(buttons[i]->isHidden(), hiddenOnes.contains(captions[i]));
        }
        QCOMPARE(QSet<QPushButton *>(buttons.begin(), buttons.end()).size(), buttons.size());
        w.setOperationsLocked(false);
        for (QPushButton *b : buttons)
            QVERIFY(b->isEnabled());
    }

    void settingsGrid() {
        TForm1 w;
        GridView *grid = w.settingsPage()->grid();
        QCOMPARE(grid->model(), &w.settingsTable());
        QCOMPARE(grid->model()->index(0, 2).data().toString(), QStringLiteral("Description"));
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("7482"));
        const QList<int> widths{275, 201, 391};
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid->columnWidth(c), widths[c]);
        for (int r = 0; r < 23; ++r)
            QCOMPARE(grid->rowHeight(r), r == 1 ? 22 : r == 8 ? 26 : 24);
        // The current cell is a heading, so no value cell shows as selected.
        QCOMPARE(grid->currentIndex(), w.settingsTable().index(0, 1));
        QVERIFY(grid->selectionModel()->selectedIndexes().isEmpty());
        const QList<QPushButton *> buttons{
            w.settingsPage()->readSettings, w.settingsPage()->saveSettings,
            w.settingsPage()->importProfile, w.settingsPage()->exportProfile};
        for (QPushButton *b : buttons)
            QCOMPARE(b->size(), QSize(85, 30));
    }

    // Only the operator's sideways scroll of the settings grid names its position in the
    // caption and hides the drop-down lists over the value cells; the layout setting the scroll
    // bar's range is no scroll, even where it moves the bar.
    void settingsScrollHook() {
        TForm1 w;
        GridView *grid = w.settingsPage()->grid();
        QScrollBar *bar = grid->horizontalScrollBar();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString title = QStringLiteral("Velmora Configurator V1.7");
        QCOMPARE(w.windowTitle(), title);
        grid->setFixedWidth(400);
        w.pageControl()->setCurrentIndex(1);
        w.pageControl()->setCurrentIndex(0);
        QTRY_VERIFY(bar->maximum() > 30);
        QCOMPARE(w.windowTitle(), title);

        w.settingsTable().showChoice(3);
        w.settingsTable().showChoice(12);
        // The wheel turned sideways over the grid.
        const QPointF at(50, 50);
        QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(-120, 0),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
        const int position = bar->value();
        QVERIFY(position > 0);
        const QString scrolled = QStringLiteral("滚动条位置:%1").arg(position);
        QCOMPARE(w.windowTitle(), scrolled);
        for (int row : SettingsTable::ChoiceRows)
            QVERIFY(!w.settingsTable().isChoiceShown(row));

        // A grid wide enough for all columns takes the bar back to 0 on its own.
        grid->setFixedWidth(900);
        QTRY_COMPARE(bar->value(), 0);
        QCOMPARE(w.windowTitle(), scrolled);
    }

    void numberPageLayout() {
        TForm1 w;
        NumberPage *page = w.numberPage();
        const QList<QPair<QPushButton *, int>> tops{{page->read, 45},       {page->save, 101},
                                                    {page->importXls, 158}, {page->exportXls, 214},
                                                    {page->exportCsv, 271}, {page->allAlways, 330},
                                                    {page->deleteAll, 385}, {page->clearGrid, 539}};
        for (const auto &[button, top] : tops)
            QCOMPARE(button->geometry(), QRect(8, top, 85, 30));
        QCOMPARE(page->read->parentWidget()->width(), 100);
    }

    void numberGrid() {
        TForm1 w;
        GridView *grid = w.numberPage()->grid();
        QAbstractItemModel *m = grid->model();
        QCOMPARE(m->rowCount(), 3000);
        const QStringList headings{"Serial",   "Authorized number", "Start Date", "Start Time ",
                                   "End Date", "End Time",          "Always(V)",  "Delete(V)"};
        const QList<int> widths{45, 145, 83, 91, 89, 86, 78, 76};
        for (int c = 0; c < 8; ++c) {
            QCOMPARE(m->headerData(c, Qt::Horizontal).toString(), headings[c]);
            QCOMPARE(grid->columnWidth(c), widths[c]);
        }
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(m->index(2999, 0).data().toString(), QStringLiteral("3000"));
        QCOMPARE(m->index(2999, 7).data().toString(), QStringLiteral("no"));
        QCOMPARE(grid->rowHeight(0), 24);
        QCOMPARE(grid->rowHeight(19), 21);
        QCOMPARE(grid->rowHeight(20), 24);
        QVERIFY(!grid->currentIndex().isValid());
        // The view follows the table, which is the one store of the list.
        w.numberTable().setCell(NumberTable::Number, 5, QStringLiteral("+8613800000000"));
        QCOMPARE(m->index(4, 1).data().toString(), QStringLiteral("+8613800000000"));
    }

    void historyGrid() {
        TForm1 w;
        GridView *grid = w.historyPage()->grid();
        QAbstractItemModel *m = grid->model();
        QCOMPARE(m->rowCount(), 1000);
        const QStringList headings{"Serial", "No.",    "Date",      "Time",
                                   "From",   "Action", "Executant", "Content"};
        const QList<int> widths{38, 0, 74, 70, 95, 112, 129, 235};
        for (int c = 0; c < 8; ++c) {
            QCOMPARE(m->headerData(c, Qt::Horizontal).toString(), headings[c]);
            QCOMPARE(grid->isColumnHidden(c) ? 0 : grid->columnWidth(c), widths[c]);
        }
        QCOMPARE(m->index(999, 0).data().toString(), QStringLiteral("1000"));
    }

    void historyPickers() {
        const QDateTime before = QDateTime::currentDateTime();
        TForm1 w;
        HistoryPage *page = w.historyPage();
        QCOMPARE(page->dtp1->date(), QDate(2015, 3, 3));
        QCOMPARE(page->dtp2->time(), QTime(0, 0, 0));
        QCOMPARE(page->dtp1->displayFormat(), QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(page->dtp2->displayFormat(), QStringLiteral("H:mm:ss"));
        const QDateTime end(page->dtp3->date(), page->dtp4->time());
        QVERIFY(end.secsTo(before) <= 1 && end.secsTo(QDateTime::currentDateTime()) >= 0);
        QVERIFY(page->clearGrid->isHidden());
    }

    void helpPicture() {
        TForm1 w;
        QLabel *img = w.helpPage()->image();
        QCOMPARE(img->size(), QSize(761, 521));
        QCOMPARE(img->pixmap().size(), QSize(759, 505));
    }

    void statusBar() {
        TForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        StatusPanels *bar = w.stat1();
        QCOMPARE(bar->panelText(0), QStringLiteral("COM Port:"));
        QCOMPARE(bar->height(), 24);
        QCOMPARE(bar->y() + bar->height(), 653);
        const QList<int> widths{100, 50, 200, 50};
        int left = 0;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(bar->panelRect(i).left(), left);
            left += widths[i];
        }
        const QRect p3 = bar->panelRect(3);
        QCOMPARE(bar->progressBar()->geometry(),
                 QRect(p3.left(), p3.top(), p3.width() - 15, p3.height()));
        QCOMPARE(bar->progressBar()->minimum(), 0);
        QCOMPARE(bar->progressBar()->maximum(), 100);
        QVERIFY(bar->progressBar()->isVisible());
        const QRect p1 = bar->panelRect(1);
        for (const QLabel *disc : {bar->closedDisc(), bar->openDisc()})
            QCOMPARE(disc->geometry(), QRect(p1.left() + 15, p1.top() + 2, 17, 17));
        QVERIFY(bar->closedDisc()->isVisible());
        QVERIFY(!bar->openDisc()->isVisible());
        bar->showPortOpen(true);
        QVERIFY(bar->openDisc()->isVisible());
        QVERIFY(!bar->closedDisc()->isVisible());
        bar->showPortOpen(false);
        QVERIFY(bar->closedDisc()->isVisible());
    }

    void configurationFolderExists() {
        TForm1 w;
        QVERIFY(w.configurationFolder().endsWith(QStringLiteral("/configuration/")));
        QVERIFY(QDir(w.configurationFolder()).exists());
    }
};

QTEST_MAIN(TestStartupWindow)
#include "tst_startupwindow.moc"
