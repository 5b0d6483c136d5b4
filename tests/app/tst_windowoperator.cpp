#include "StatusPanels.h"
#include "WindowOperator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// Records what reaches it and answers with scripted values.
class StandIn : public Operator {
public:
    QStringList log;
    bool answer = true;
    QString file = QStringLiteral("/tmp/chosen.xlsx");

    void setStatusText(const QString &text) override { log << "status " + text; }
    void setProgressPosition(int value) override { log << "progress " + QString::number(value); }
    void setProgressVisible(bool visible) override { log << (visible ? "shown" : "hidden"); }
    void message(const QString &text, const QString &title, Icon, const QString &detail) override {
        log << "message " + title + "|" + text + "|" + detail;
    }
    bool confirm(const QString &text, const QString &, const QString &yes, const QString &no,
                 Icon) override {
        log << "confirm " + text + "|" + yes + "|" + no;
        return answer;
    }
    bool warnOkCancel(const QString &text, const QString &) override {
        log << "warn " + text;
        return answer;
    }
    QString chooseSaveFile(const QString &, const QString &folder, const QString &name,
                           const QString &) override {
        log << "save " + folder + name;
        return file;
    }
    QString chooseOpenFile(const QString &, const QString &folder, const QString &) override {
        log << "open " + folder;
        return file;
    }
};

} // namespace

class TestWindowOperator : public QObject {
    Q_OBJECT
private slots:
    // Status and progress always reach the status bar, with or without a stand-in.
    void displaysReachStatusBar() {
        QWidget window;
        StatusPanels bar(&window);
        StandIn standIn;
        WindowOperator op(bar, window, &standIn);
        window.show();
        op.setStatusText("Password verifing");
        op.setProgressPosition(40);
        op.setProgressVisible(false);
        QCOMPARE(bar.panelText(2), QStringLiteral("Password verifing"));
        QCOMPARE(bar.progressBar()->value(), 40);
        QVERIFY(!bar.progressBar()->isVisible());
        op.setProgressVisible(true);
        QVERIFY(bar.progressBar()->isVisible());
        QCOMPARE(standIn.log,
                 QStringList({"status Password verifing", "progress 40", "hidden", "shown"}));
    }

    void questionsGoToStandIn() {
        QWidget window;
        StatusPanels bar(&window);
        StandIn standIn;
        WindowOperator op(bar, window, &standIn);
        op.message("COM Port error", {}, Operator::Icon::None, "No such device");
        QVERIFY(op.confirm("Read?", {}, "OK(&Y)", "Cancel(&N)", Operator::Icon::Question));
        standIn.answer = false;
        QVERIFY(!op.warnOkCancel("Delete?", {}));
        QCOMPARE(op.chooseSaveFile("Save", "/cfg/", "a.xlsx", "*.xlsx"), standIn.file);
        QCOMPARE(op.chooseOpenFile("Open", "/cfg/", "*.xlsx"), standIn.file);
        QCOMPARE(standIn.log, QStringList({"message |COM Port error|No such device",
                                           "confirm Read?|OK(&Y)|Cancel(&N)", "warn Delete?",
                                           "save /cfg/a.xlsx", "open /cfg/"}));
        // Status panel 2 is untouched by questions.
        QVERIFY(bar.panelText(2).isEmpty());
    }

    // Without a stand-in the question is a real box at ((screen - 200) / 2, (screen - 200) / 2)
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
        WindowOperator op(bar, window, nullptr);
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
        WindowOperator op(bar, window, nullptr);
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
