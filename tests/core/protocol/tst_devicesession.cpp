#include "DeviceBench.h"
#include "EventWait.h"
#include "PagedReader.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(DeviceFaults)

namespace {

// A session logged in to nothing yet, with its port open on a simulated device.
struct Bench : DeviceBench {
    using DeviceBench::DeviceBench;

    // Faults from the next request on.
    void faultsFromNext(DeviceFaults f) {
        const int next = device.requestCount() + 1;
        if (f.noReplyFrom)
            f.noReplyFrom = next;
        if (f.badChecksumFrom)
            f.badChecksumFrom = next;
        if (f.nakFrom)
            f.nakFrom = next;
        if (f.shortDataFrom)
            f.shortDataFrom = next;
        if (f.duplicateFrom)
            f.duplicateFrom = next;
        device.setFaults(f);
    }
};

using Outcomes = QList<QPair<bool, QString>>;
constexpr int Generous = 20000; // a loaded machine may take its time; a good run does not wait

} // namespace

// The session against the simulated device on a pseudo-terminal.
class TestDeviceSession : public QObject {
    Q_OBJECT
private slots:
    void singleCommands() {
        DeviceOptions options;
        options.historyCount = 20;
        Bench b(options);
        QVERIFY(b.session.cm1().PortOpen());
        b.session.timeSyncCommand().setClock(
            [] { return QDateTime(QDate(2026, 12, 7), QTime(12, 5, 9)); });

        b.session.sendCheckingMode();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 1, Generous);
        b.session.sendTimeSync();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 2, Generous);
        b.session.sendDeleteHistory();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 3, Generous);

        QCOMPARE(b.outcomes(), (Outcomes{{true, "Enter"},
                                         {true, "1同步时间返回正确"},
                                         {true, "Historical data deleted"}}));
        QCOMPARE(b.device.lastTimeBytes(), QByteArray::fromHex("EA0C070C0509"));
        QCOMPARE(b.device.memoryRange(0x30000, 0x1F400), QByteArray(0x1F400, char(0xFF)));
        QVERIFY(b.op.statusTexts.contains("Checking mode"));
        QCOMPARE(b.op.statusText, QStringLiteral("Delete command"));
    }

    void login_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QList<bool>>("results");
        QTest::newRow("factory") << QByteArray("7482") << QStringList{"7482", "7483", "748"}
                                 << QList<bool>{true, false, false};
        QTest::newRow("letters") << QByteArray("AbCd") << QStringList{"aBcD", "abce", "ABCD"}
                                 << QList<bool>{true, false, true};
    }
    void login() {
        QFETCH(QByteArray, password);
        QFETCH(QStringList, typed);
        QFETCH(QList<bool>, results);
        DeviceOptions options;
        options.password = password;
        Bench b(options);
        QSignalSpy unlocked(&b.session, &Session::operationsUnlocked);
        for (int i = 0; i < typed.size(); ++i) {
            b.session.login(typed[i]);
            QTRY_COMPARE_WITH_TIMEOUT(unlocked.count(), i + 1, Generous);
            QCOMPARE(unlocked[i].first().toBool(), results[i]);
            QVERIFY(!b.session.passwordCheck().Pending());
        }
    }

    void pagedChainOf500Reads() {
        DeviceOptions options;
        options.historyCount = 1000;
        Bench b(options);
        PagedReader history(b.session.requests(), 0x30000,
                            QStringLiteral("Reading historical data"));
        b.session.setHistoryTransfer(&history);
        history.startRead(500);
        QVERIFY(waitUntil([&] { return history.finished == 1; }, 120000));

        QCOMPARE(b.device.requestCount(), 500);
        QCOMPARE(history.replyAddresses.size(), 500);
        for (int p = 1; p <= 500; ++p)
            QCOMPARE(history.replyAddresses[p - 1], 0x2FF00 + 256 * p);
        QCOMPARE(history.firstBytes.mid(0, 1),
                 QList<uint8_t>{uint8_t(b.device.memoryRange(0x30000, 1)[0])});
        QCOMPARE(b.op.statusText, QStringLiteral("Reading historical data:500/500"));
        QCOMPARE(b.op.progressPosition, 100);
        QVERIFY(!b.op.progressVisible);
        QCOMPARE(b.outcomes(), (Outcomes{{true, QString()}}));
    }

    void noReplyTimesOutOnceThenTheNextOperationWorks() {
        Bench b;
        b.session.receivePath().tmr1().setInterval(500);
        b.faultsFromNext({.noReplyFrom = 1});
        b.session.progressBar().set(30);
        b.session.sendCheckingMode();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 1, Generous);
        QTest::qWait(1500);
        QCOMPARE(b.outcomes(), (Outcomes{{false, "Receive timeout"}}));
        QVERIFY(!b.op.progressVisible);
        QCOMPARE(b.op.statusText, QString());

        b.device.setFaults({});
        b.session.sendCheckingMode();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 2, Generous);
        QCOMPARE(b.outcomes().last(), qMakePair(true, QStringLiteral("Enter")));
    }

    void brokenRepliesTimeOutThenTheNextOperationWorks_data() {
        QTest::addColumn<int>("badChecksum");
        QTest::addColumn<int>("cutAfter");
        QTest::addColumn<int>("garbage");
        QTest::newRow("bad checksum") << 1 << 0 << 0;
        QTest::newRow("cut off") << 0 << 100 << 0;
        QTest::newRow("cut off with garbage") << 0 << 40 << 3;
    }
    void brokenRepliesTimeOutThenTheNextOperationWorks() {
        QFETCH(int, badChecksum);
        QFETCH(int, cutAfter);
        QFETCH(int, garbage);
        DeviceOptions options;
        options.historyCount = 30;
        Bench b(options);
        b.session.receivePath().tmr1().setInterval(1000);
        PagedReader history(b.session.requests(), 0x30000);
        b.session.setHistoryTransfer(&history);

        b.faultsFromNext(
            {.badChecksumFrom = badChecksum, .cutAfter = cutAfter, .garbage = garbage});
        history.startRead(3);
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 1, Generous);
        QCOMPARE(b.outcomes(), (Outcomes{{false, "Receive timeout"}}));
        QCOMPARE(history.finished, 0);

        // Healthy again: the operator starts over and the whole read goes through.
        b.device.setFaults({.garbage = garbage});
        history.replyAddresses.clear();
        history.startRead(3);
        QTRY_COMPARE_WITH_TIMEOUT(history.finished, 1, Generous);
        QCOMPARE(history.replyAddresses, (QList<int32_t>{0x30000, 0x30100, 0x30200}));
        QCOMPARE(b.outcomes(), (Outcomes{{false, "Receive timeout"}, {true, QString()}}));
    }

    // Replies that must never pass for an answer: each ends the operation with its failure, the
    // settings table is never touched, and the next operation works.
    void untrustworthyRepliesThenTheNextOperationWorks_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<DeviceFaults>("faults");
        QTest::addColumn<QString>("ending");
        QTest::newRow("late reply")
            << "settings read" << DeviceFaults{.delayMs = 900} << "Receive timeout";
        QTest::newRow("page of 100 bytes")
            << "settings read" << DeviceFaults{.shortDataFrom = 1, .shortDataLength = 100}
            << "Receive timeout";
        QTest::newRow("delete reply without data")
            << "delete history" << DeviceFaults{.shortDataFrom = 1, .shortDataLength = 0}
            << "Historical data delet error";
        QTest::newRow("every reply twice") << "settings read" << DeviceFaults{.duplicateFrom = 1}
                                           << "Basic settings read to PC software success.";
    }
    void untrustworthyRepliesThenTheNextOperationWorks() {
        QFETCH(QString, operation);
        QFETCH(DeviceFaults, faults);
        QFETCH(QString, ending);
        Bench b;
        b.session.receivePath().tmr1().setInterval(500);
        SettingsTable table;
        TBasicInf basic(b.session, table);
        b.session.setBasicTransfer(&basic);
        QSignalSpy settingsChanged(&table, &SettingsTable::dataChanged);
        const auto start = [&] {
            if (operation == "settings read")
                basic.StartRead();
            else
                b.session.sendDeleteHistory();
        };
        b.faultsFromNext(faults);
        start();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 1, Generous);
        QTest::qWait(1200); // whatever comes late or twice has come by now
        QCOMPARE(b.outcomes(), (Outcomes{{ending.endsWith("success."), ending}}));
        if (!ending.endsWith("success."))
            QCOMPARE(settingsChanged.count(), 0);

        // A stray start byte while nothing is awaited is noise, not the start of the next reply.
        b.device.setFaults({});
        QVERIFY(b.device.sendRaw(QByteArray(1, 0x23)));
        QTest::qWait(700);
        QCOMPARE(b.ended.count(), 1);
        start();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 2, Generous);
        QVERIFY(b.outcomes().last().first);
    }

    void refusedCommandShowsItsError() {
        Bench b;
        b.faultsFromNext({.nakFrom = 1});
        b.session.sendCheckingMode();
        QTRY_COMPARE_WITH_TIMEOUT(b.ended.count(), 1, Generous);
        QCOMPARE(b.outcomes(), (Outcomes{{false, "Error"}}));
    }
};

QTEST_GUILESS_MAIN(TestDeviceSession)
#include "tst_devicesession.moc"
