#include "RecordingOperator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QTest>

class TestStatusDisplay : public QObject {
    Q_OBJECT
private slots:
    void progressRules_data() {
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QList<bool>>("visibleAfterEach");
        QTest::newRow("100 hides, 0 keeps hidden, 1 shows")
            << QList<int>{100, 0, 1} << QList<bool>{false, false, true};
        QTest::newRow("0 keeps shown") << QList<int>{30, 0} << QList<bool>{true, true};
        QTest::newRow("shown again after 100")
            << QList<int>{50, 100, 51} << QList<bool>{true, false, true};
    }
    void progressRules() {
        QFETCH(QList<int>, values);
        QFETCH(QList<bool>, visibleAfterEach);
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        for (int i = 0; i < values.size(); ++i) {
            progress.set(quint16(values[i]));
            QCOMPARE(op.progressPosition, values[i]);
            QCOMPARE(op.progressVisible, visibleAfterEach[i]);
        }
    }

    void statusTimerRunsFromStartAndClearsEverything() {
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        Tstatusbar_ctrl status(op, progress);
        QVERIFY(status.timerActive());
        status.setInterval(50);
        QVERIFY(op.progressVisible); // visible until the first firing
        QTRY_VERIFY(!status.timerActive());
        QVERIFY(!op.progressVisible);
        QCOMPARE(op.progressPosition, 100);
        QCOMPARE(op.statusText, QString());
    }

    void clearedAnIntervalAfterTheFirstText() {
        // Later texts do not push the clearing back.
        const int interval = 1000;
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        Tstatusbar_ctrl status(op, progress);
        status.setInterval(interval);
        QTRY_VERIFY_WITH_TIMEOUT(!status.timerActive(), 5 * interval);
        op.clearHistory();

        status.show("one");
        QTest::qWait(interval / 4);
        status.show("two");
        QTest::qWait(interval / 4);
        status.show("three");
        QCOMPARE(op.statusTexts, (QStringList{"one", "two", "three"}));
        QTest::qWait(interval * 3 / 4); // the first text was an interval and a quarter ago
        QCOMPARE(op.statusText, QString());
        QVERIFY(!status.timerActive());

        status.show("four");
        QVERIFY(status.timerActive());
        QCOMPARE(op.statusText, QStringLiteral("four"));
    }

    void directClearingDoesNotStartTheTimer() {
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        Tstatusbar_ctrl status(op, progress);
        status.setInterval(10);
        QTRY_VERIFY(!status.timerActive());
        status.show("text");
        QTRY_VERIFY(!status.timerActive());
        status.clearDirect();
        QVERIFY(!status.timerActive());
        QCOMPARE(op.statusText, QString());
    }

    void unchangedTextIsNotRedrawn() {
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        Tstatusbar_ctrl status(op, progress);
        for (int i = 0; i < 1000; ++i)
            status.show("Data communication");
        status.show("Invalid data");
        status.show("Data communication");
        QCOMPARE(op.statusTexts,
                 (QStringList{"Data communication", "Invalid data", "Data communication"}));
        QCOMPARE(status.text(), QStringLiteral("Data communication"));
    }
};

QTEST_GUILESS_MAIN(TestStatusDisplay)
#include "tst_statusdisplay.moc"
