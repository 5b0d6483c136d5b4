#include "RecordingOperator.h"
#include "SettingsPage.h"
#include "SimulatedDevice.h"
#include "TForm1.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray padded(const QByteArray &text, int size) {
    return text + QByteArray(size - text.size(), char(0xFF));
}

// The window logged in to a simulated device, with a person stand-in that answers every box.
struct Window {
    SimulatedDevice device;
    RecordingOperator op;
    TForm1 w{op};

    explicit Window(const DeviceOptions &options = {})
        : device(options) {
        w.offerPort(device.slavePath());
        w.show();
    }

    // Clicks and waits for the operation's message; true when it ended well.
    bool run(QPushButton *button) {
        QSignalSpy ended(&w.session(), &Session::operationEnded);
        QTest::mouseClick(button, Qt::LeftButton);
        // A save refused before sending ends within the click itself.
        if (ended.isEmpty() && !ended.wait(5000))
            return false;
        return ended.first().at(0).toBool();
    }
    bool logIn() {
        QTest::mouseClick(w.btn8(), Qt::LeftButton);
        return w.session().cm1().PortOpen() && run(w.btn1());
    }
    SettingsPage &page() { return *w.settingsPage(); }
    SettingsTable &table() { return w.settingsTable(); }
    QComboBox *choice(int row) { return page().grid()->choiceEditor(row); }
    int sentWith(const QString &statusText) const { return op.statusTexts.count(statusText); }
};

} // namespace

class TestSettingsTransfer : public QObject {
    Q_OBJECT
private slots:
    // A read fills the grid and sets and shows the drop-down lists.
    void readShowsTheDeviceSettings() {
        Window win;
        QVERIFY(win.logIn());
        QVERIFY(win.page().readSettings->isEnabled());
        QVERIFY(win.device.writeMemory(4, padded("+8613800138000", 22)));
        QVERIFY(win.device.writeMemory(26, QByteArray::fromHex("0001")));
        QVERIFY(win.device.writeMemory(108, QByteArray::fromHex("0f000001")));
        QVERIFY(win.device.writeMemory(116, QByteArray::fromHex("0201")));
        QVERIFY(win.device.writeMemory(236, QByteArray::fromHex("901f")));
        QVERIFY(win.device.writeMemory(254, "gp"));
        QVERIFY(win.device.writeMemory(256, "rs-user-16char"));
        win.table().hideChoices();
        win.op.clearHistory();

        QVERIFY(win.run(win.page().readSettings));
        QCOMPARE(win.op.confirmations.size(), 1);
        QCOMPARE(win.op.confirmations[0].text,
                 QStringLiteral("Read the GSM device basic parameters to PC software?"));
        QCOMPARE(win.op.confirmations[0].acceptCaption, QStringLiteral("OK(&Y)"));
        QCOMPARE(win.op.confirmations[0].rejectCaption, QStringLiteral("Cancel(&N)"));
        QCOMPARE(win.op.messageTexts(),
                 QStringList{QStringLiteral("Basic settings read to PC software success.")});

        QCOMPARE(win.table().value(1), QStringLiteral("7482"));
        QCOMPARE(win.table().value(2), QStringLiteral("+8613800138000"));
        QCOMPARE(win.table().value(7), QStringLiteral("15"));
        QCOMPARE(win.table().value(19), QStringLiteral("8080"));
        QCOMPARE(win.table().value(21), QStringLiteral("gprs-user-16char"));
        const QList<QPair<int, int>> selected{{3, 0}, {4, 1}, {8, 1}, {9, 0}, {11, 2}, {12, 1}};
        for (const auto &[row, item] : selected) {
            QCOMPARE(win.choice(row)->currentIndex(), item);
            QVERIFY(win.choice(row)->isVisible());
        }
    }

    void cancelledReadSendsNothing() {
        Window win;
        QVERIFY(win.logIn());
        win.op.clearHistory();
        win.op.confirmAnswers.enqueue(false);
        const QString before = win.table().value(5);
        QTest::mouseClick(win.page().readSettings, Qt::LeftButton);
        QCOMPARE(win.op.confirmations.size(), 1);
        QCOMPARE(win.sentWith(QStringLiteral("Read settings")), 0);
        QVERIFY(win.op.messages.isEmpty());
        QCOMPARE(win.table().value(5), before);
    }

    // What the operator set in the grid and its lists is what the device keeps, and reads back.
    void saveWritesTheGridAndReadsBack() {
        Window win;
        QVERIFY(win.logIn());
        win.table().setValue(7, QStringLiteral("30"));
        win.table().setValue(10, QStringLiteral("30"));
        win.table().setValue(19, QStringLiteral("8080"));
        win.table().setValue(21, QStringLiteral("gprs-user-16char"));
        win.choice(3)->setCurrentIndex(0);
        win.choice(11)->setCurrentIndex(1);
        win.op.clearHistory();

        QVERIFY(win.run(win.page().saveSettings));
        QCOMPARE(win.op.messageTexts(), QStringList{QStringLiteral("Basic setting saved success")});
        QCOMPARE(win.op.confirmations.size(), 1); // the review of the changes
        QCOMPARE(win.sentWith(QStringLiteral("Save settings")), 2);
        QCOMPARE(win.device.memoryRange(26, 2), QByteArray::fromHex("0001"));
        QCOMPARE(win.device.memoryRange(108, 2), QByteArray::fromHex("1e00"));
        QCOMPARE(win.device.memoryRange(112, 6), QByteArray::fromHex("1e001e000103"));
        QCOMPARE(win.device.memoryRange(236, 2), QByteArray::fromHex("901f"));
        QCOMPARE(win.device.memoryRange(254, 2), QByteArray("gp"));
        QCOMPARE(win.device.memoryRange(256, 16), QByteArray("rs-user-16char\xff\xff", 16));

        // Read back into a grid the operator has since changed: the device's values return.
        QStringList saved;
        for (int row = 1; row <= SettingsTable::ParameterCount; ++row)
            saved << win.table().value(row);
        win.table().setValue(7, QStringLiteral("1"));
        win.table().setValue(21, QString());
        win.choice(3)->setCurrentIndex(1);
        QVERIFY(win.run(win.page().readSettings));
        for (int row = 1; row <= SettingsTable::ParameterCount; ++row) {
            if (!SettingsTable::isChoiceRow(row))
                QCOMPARE(win.table().value(row), saved[row - 1]);
        }
        QCOMPARE(win.choice(3)->currentIndex(), 0);
        QCOMPARE(win.choice(11)->currentIndex(), 1);
    }

    // A number the device cannot hold stops the save before anything goes out.
    void refusedNumberSendsNothing_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("port too big")
            << 19 << "70000"
            << "Row 19 \"19.Server Port(0-65535)\": 70000 does not fit the device; the allowed "
               "range is 0 to 65535.";
    }
    void refusedNumberSendsNothing() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Window win;
        QVERIFY(win.logIn());
        const QByteArray before = win.device.memoryRange(0, 512);
        win.table().setValue(row, text);
        win.op.clearHistory();
        QVERIFY(!win.run(win.page().saveSettings));
        QCOMPARE(win.op.messages.size(), 1);
        QCOMPARE(win.op.messages[0].text, expected);
        QCOMPARE(win.sentWith(QStringLiteral("Save settings")), 0);
        QCOMPARE(win.device.memoryRange(0, 512), before);
    }

    // A page the device refuses ends the save: the second page is never sent.
    void refusedPageEndsTheSave() {
        DeviceOptions options;
        options.faults.nakFrom = 2; // the login's read is the first request
        Window win(options);
        QVERIFY(win.logIn());
        win.op.clearHistory();
        QVERIFY(!win.run(win.page().saveSettings));
        QCOMPARE(win.op.messageTexts(), QStringList{QStringLiteral("Basic setting error")});
        QCOMPARE(win.sentWith(QStringLiteral("Save settings")), 1);
    }
};

QTEST_MAIN(TestSettingsTransfer)
#include "tst_settingstransfer.moc"
