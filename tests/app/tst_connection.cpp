#include "NumberPage.h"
#include "RecordingOperator.h"
#include "SimulatedDevice.h"
#include "StatusPanels.h"
#include "TForm1.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <memory>

namespace {

void clickOpen(TForm1 &w) {
    QTest::mouseClick(w.btn8(), Qt::LeftButton);
}

bool allOperations(const TForm1 &w, bool enabled) {
    for (QPushButton *b : w.operationButtons()) {
        if (b->isEnabled() != enabled)
            return false;
    }
    return true;
}

// Opens the device's port and logs in with `typed`; returns the message the login ended with.
QString login(TForm1 &w, RecordingOperator &op, const QString &typed) {
    QSignalSpy ended(&w.session(), &Session::operationEnded);
    w.edt3()->setText(typed);
    op.clearHistory();
    QTest::mouseClick(w.btn1(), Qt::LeftButton);
    if (!ended.wait(5000))
        return QStringLiteral("(no end)");
    return op.messageTexts().join(u'|');
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    // Each click on "Open"/"Close" turns the port over, quick clicks too; closing leaves the top
    // bar usable.
    void clicksOpenAndClose_data() {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("caption");
        QTest::newRow("open") << 1 << true << "Close";
        QTest::newRow("open, close") << 2 << false << "Open";
        QTest::newRow("three quick clicks") << 3 << true << "Close";
    }
    void clicksOpenAndClose() {
        QFETCH(int, clicks);
        QFETCH(bool, open);
        QFETCH(QString, caption);
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device.slavePath());
        w.show();
        for (int i = 0; i < clicks; ++i)
            clickOpen(w);
        QCOMPARE(w.session().cm1().PortOpen(), open);
        QCOMPARE(w.btn8()->text(), caption);
        QCOMPARE(w.stat1()->portShownOpen(), open);
        QVERIFY(op.messages.isEmpty());
        if (!open)
            QVERIFY(w.btn1()->isEnabled() && w.cbb9()->isEnabled());
    }

    // Whatever stops the port from opening, the display stays "Open" and red and the operator
    // reads why beneath the usual text; the next click tries to open again.
    void failedOpenKeepsOpen_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("detail");
        QTest::newRow("missing") << "/dev/velmora-no-such-port"
                                 << "No such device";
        QTest::newRow("empty name") << ""
                                    << "No port chosen";
        QTest::newRow("blanks") << "   "
                                << "No port chosen";
        QTest::newRow("not a terminal") << "(regular file)"
                                        << "is not a serial port";
    }
    void failedOpenKeepsOpen() {
        QFETCH(QString, path);
        QFETCH(QString, detail);
        QTemporaryFile plain;
        QVERIFY(plain.open());
        if (path == "(regular file)")
            path = plain.fileName();
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(&op);
        w.cbb9()->setEditText(path);
        clickOpen(w);
        QCOMPARE(op.messageTexts(), QStringList{"COM Port error"});
        QVERIFY(op.messages.first().title.isEmpty());
        QVERIFY(!op.messages.first().detail.isEmpty());
        QVERIFY2(op.messages.first().detail.contains(detail), qPrintable(op.messages[0].detail));
        QVERIFY(!w.session().cm1().PortOpen());
        QCOMPARE(w.btn8()->text(), QStringLiteral("Open"));
        QVERIFY(!w.stat1()->portShownOpen());

        w.cbb9()->setEditText(device.slavePath());
        clickOpen(w);
        QVERIFY(w.session().cm1().PortOpen());
        QCOMPARE(w.btn8()->text(), QStringLiteral("Close"));
    }

    // A port another program holds is refused too.
    void portInUse() {
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 first(&op), second(&op);
        first.offerPort(device.slavePath());
        second.offerPort(device.slavePath());
        clickOpen(first);
        QVERIFY(first.session().cm1().PortOpen());
        clickOpen(second);
        QCOMPARE(op.messageTexts(), QStringList{"COM Port error"});
        QCOMPARE(op.messages.first().detail,
                 QStringLiteral("The port is in use by another program"));
        QCOMPARE(second.btn8()->text(), QStringLiteral("Open"));
    }

    // The comparison itself is the password check's; here: what the login does to the buttons.
    void loginUnlocksAndWrongPasswordLocks() {
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device.slavePath());
        clickOpen(w);
        QVERIFY(allOperations(w, false));
        QCOMPARE(login(w, op, "7482"), QStringLiteral("Password confirmed!"));
        QVERIFY(allOperations(w, true));
        QCOMPARE(login(w, op, "7483"), QStringLiteral("Password Error!"));
        QVERIFY(allOperations(w, false));
        QVERIFY(w.btn1()->isEnabled() && w.btn8()->isEnabled() && w.edt3()->isEnabled());
    }

    // A double click starts one operation: every operation button and "Log in" stay disabled
    // until it ends, "Open"/"Close" does not.
    void doubleClickRunsOneOperation_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("requests");
        QTest::newRow("Save Settings") << "Save Settings"
                                       << "Basic setting saved success" << 4;
        QTest::newRow("Read Settings") << "Read Settings"
                                       << "Basic settings read to PC software success." << 2;
        QTest::newRow("Log in") << "Log in"
                                << "Password confirmed!" << 1;
    }
    void doubleClickRunsOneOperation() {
        QFETCH(QString, button);
        QFETCH(QString, message);
        QFETCH(int, requests);
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device.slavePath());
        clickOpen(w);
        QCOMPARE(login(w, op, "7482"), QStringLiteral("Password confirmed!"));
        op.clearHistory();
        const int before = device.requestCount();
        device.setFaults({.delayMs = 200});
        QPushButton *target = w.btn1();
        for (QPushButton *b : w.operationButtons())
            if (b->text() == button)
                target = b;
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(allOperations(w, false));
        QVERIFY(!w.btn1()->isEnabled());
        QVERIFY(w.btn8()->isEnabled());
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        QTest::qWait(600); // a second chain would have shown itself by now
        QCOMPARE(op.messageTexts(), QStringList{message});
        QCOMPARE(device.requestCount() - before, requests);
        QVERIFY(allOperations(w, true));
        QVERIFY(w.btn1()->isEnabled());
    }

    // Unplugged during a save: the port shows closed at once, the save ends with the reason, and
    // the device plugged in again opens and answers.
    void unplugDuringSave() {
        auto device = std::make_unique<SimulatedDevice>();
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device->slavePath());
        clickOpen(w);
        QCOMPARE(login(w, op, "7482"), QStringLiteral("Password confirmed!"));
        op.clearHistory();
        device->setFaults({.hangUpAt = device->requestCount() + 2});
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(w.operationButtons().at(3), Qt::LeftButton); // "Save Settings"
        QVERIFY(ended.wait(5000));
        QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(op.messageTexts(), QStringList{"COM Port error"});
        QCOMPARE(op.messages.first().detail, QStringLiteral("The device was disconnected"));
        QVERIFY(!w.session().cm1().PortOpen());
        QCOMPARE(w.btn8()->text(), QStringLiteral("Open"));
        QVERIFY(!w.stat1()->portShownOpen());
        QVERIFY(allOperations(w, true)); // closing leaves the login's state alone

        device = std::make_unique<SimulatedDevice>();
        w.offerPort(device->slavePath());
        clickOpen(w);
        QVERIFY(w.session().cm1().PortOpen());
        QCOMPARE(login(w, op, "7482"), QStringLiteral("Password confirmed!"));
    }

    // The panel shows the check's progress as the reply arrives.
    void loginStatusSequence() {
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device.slavePath());
        clickOpen(w);
        QCOMPARE(login(w, op, "7482"), QStringLiteral("Password confirmed!"));
        const int verifying = op.statusTexts.indexOf("Password verifing");
        const int communication = op.statusTexts.indexOf("Data communication");
        const int reading = op.statusTexts.indexOf("Reading basic setting");
        QVERIFY(verifying >= 0);
        QVERIFY(communication > verifying);
        QVERIFY(reading > communication);
        QCOMPARE(w.stat1()->panelText(2), QStringLiteral("Reading basic setting"));
    }

    // With the port closed nothing is sent: the wait ends in "Receive timeout" and a later
    // settings reply is not taken for a password reply.
    void loginWithPortClosed() {
        RecordingOperator op;
        TForm1 w(&op);
        w.session().receivePath().tmr1().setInterval(100);
        QCOMPARE(login(w, op, "7482"), QStringLiteral("Receive timeout"));
        QVERIFY(!w.session().passwordCheck().Pending());
        QVERIFY(allOperations(w, false));
    }

    // Enter in the password logs in; closing the window asks first while a transfer runs or
    // while edits are unsaved, and stays open when told so.
    void enterLogsInAndCloseAsks() {
        SimulatedDevice device;
        RecordingOperator op;
        TForm1 w(&op);
        w.offerPort(device.slavePath());
        w.show();
        clickOpen(w);
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QTest::keyClick(w.edt3(), Qt::Key_Return);
        QVERIFY(ended.wait(5000));
        QCOMPARE(op.messageTexts(), QStringList{"Password confirmed!"});

        QVERIFY(w.close());
        QVERIFY(op.confirmations.isEmpty());
        w.show();
        // The read's own question, then the three closes.
        for (bool answer : {true, false, false, true})
            op.confirmAnswers.enqueue(answer);
        QMetaObject::invokeMethod(
            &w, [&] { QVERIFY(!w.close()); }, Qt::QueuedConnection);
        w.numberPage()->read->click();
        QVERIFY(ended.wait(10000));
        QCOMPARE(op.confirmations.last().text,
                 QStringLiteral("A transfer with the device is still running. Quit now?"));
        w.numberTable().setCell(NumberTable::Number, 4, "5551234");
        QVERIFY(!w.close());
        QCOMPARE(op.confirmations.last().text, QStringLiteral("Quit and lose 1 unsaved change?"));
        QVERIFY(w.isVisible());
        QVERIFY(w.close());
    }

    // The status timer runs from start-up: panel 2 empties and the progress bar hides.
    void statusClearedAfterStart() {
        TForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.stat1()->progressBar()->isVisible());
        w.session().statusBar().setInterval(50);
        w.session().statusBar().show(QStringLiteral("Ready"));
        QCOMPARE(w.stat1()->panelText(2), QStringLiteral("Ready"));
        QTRY_VERIFY(!w.stat1()->progressBar()->isVisible());
        QVERIFY(w.stat1()->panelText(2).isEmpty());
        QCOMPARE(w.stat1()->panelText(0), QStringLiteral("COM Port:"));
    }
};

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
