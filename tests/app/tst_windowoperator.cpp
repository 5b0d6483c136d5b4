#include "StatusPanels.h"
#include "WindowOperator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestWindowOperator : public QObject {
    Q_OBJECT
private slots:
    // Status and progress reach the status bar.
    void displaysReachStatusBar() {
        QWidget window;
        StatusPanels bar(&window);
        WindowOperator op(bar, window);
        window.show();
        op.setStatusText("Password verifing");
        op.setProgressPosition(40);
        op.setProgressVisible(false);
        QCOMPARE(bar.panelText(2), QStringLiteral("Password verifing"));
        QCOMPARE(bar.progressBar()->value(), 40);
        QVERIFY(!bar.progressBar()->isVisible());
        op.setProgressVisible(true);
        QVERIFY(bar.progressBar()->isVisible());
    }

    // The question is a real box at ((screen - 200) / 2, (screen - 200) / 2)
    // with the caller's captions; its answer is the button pressed.
    void questionBoxPlacementAndAnswer_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("expected");
        QTest::newRow("accept") << 0 << true;
        QTest::newRow("reject") << 1 << false;
    }
    void questionBoxPlacementAndAnswer() {
        QFETCH(int, button);
        QFETCH(bool, expected);
        QWidget window;
        StatusPanels bar(&window);
        WindowOperator op(bar, window);
        window.show();
        QPoint placed;
        QString title;
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            placed = box->pos();
            title = box->windowTitle();
            for (QAbstractButton *b : box->buttons())
                captions << b->text();
            box->buttons().at(button)->click();
        });
        QCOMPARE(op.confirm("Read?", {}, "OK(&Y)", "Cancel(&N)", Operator::Icon::Question),
                 expected);
        const QRect screen = window.screen()->geometry();
        QCOMPARE(placed, QPoint(screen.x() + (screen.width() - 200) / 2,
                                screen.y() + (screen.height() - 200) / 2));
        QCOMPARE(captions, QStringList({"OK(&Y)", "Cancel(&N)"}));
        // Untitled, as the platform would show an empty title as the program's name.
        QCOMPARE(title, QStringLiteral(" "));
    }

    // The box's check box carries the caller's caption and state, and the operator's choice back.
    void questionWithCheckBoxReturnsItsState() {
        QWidget window;
        StatusPanels bar(&window);
        WindowOperator op(bar, window);
        window.show();
        QString caption;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box && box->checkBox());
            caption = box->checkBox()->text();
            QVERIFY(!box->checkBox()->isChecked());
            box->checkBox()->click();
            box->buttons().at(0)->click();
        });
        bool checked = false;
        QVERIFY(op.confirmWithOption("Save?", {}, "Write all pages", checked, {}, "OK(&Y)",
                                     "Cancel(&N)", Operator::Icon::Question));
        QCOMPARE(caption, QStringLiteral("Write all pages"));
        QVERIFY(checked);
    }
};

QTEST_MAIN(TestWindowOperator)
#include "tst_windowoperator.moc"
