#include "CliHarness.h"
#include "SimulatedDevice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int HistoryAddress = 0x30000;

QByteArray record(const char *head, const QByteArray &executant, const QByteArray &content) {
    QByteArray r = QByteArray::fromHex(QByteArray(head).replace(' ', ""));
    r += executant + QByteArray(22 - executant.size(), '\0');
    return r + content + QByteArray(128 - 34 - content.size(), '\0');
}

// A log in use: two events, an erased slot, an event of 2085 and a later one; the rest of the
// area is erased.
QByteArray usedLog() {
    return record("0C000000 0F0307 070509 01 02", "+49300000000", "") +
           record("0D000000 0F0306 0C0000 03 03", "+4930111", "Gate, \"north\"") +
           QByteArray(128, '\xFF') + record("0E000000 550101 000000 00 06", "", "") +
           record("0F000000 0F0305 173B3B 02 07", "", "");
}

} // namespace

class TestHistoryCli : public QObject {
    Q_OBJECT
private slots:
    void readPrintsTheEventsKept() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(HistoryAddress, usedLog()));
        const CliResult all = runCli({"--port", device.slavePath(), "history", "read"});
        QCOMPARE(all.code, 0);
        QCOMPARE(all.out, QStringLiteral("2015-03-07\t07:05:09\tSMS\tRelay ON\t+49300000000\t\n"
                                         "2015-03-06\t12:00:00\tTelephone\tRelay OFF\t+4930111\t"
                                         "Gate, \"north\"\n"
                                         "2015-03-05\t23:59:59\tGPRS\tArm\t\t\n"));
        const CliResult window = runCli({"--port", device.slavePath(), "history", "read", "--from",
                                         "2015-03-05 23:59:58", "--to", "2015-03-07 7:05:09"});
        QCOMPARE(window.code, 0);
        QCOMPARE(window.out, QStringLiteral("2015-03-05\t23:59:59\tGPRS\tArm\t\t\n"
                                            "2015-03-06\t12:00:00\tTelephone\tRelay OFF\t+4930111\t"
                                            "Gate, \"north\"\n"));
        const CliResult none = runCli({"--port", device.slavePath(), "history", "read", "--from",
                                       "2016-01-01 0:00:00", "--to", "2017-01-01 0:00:00"});
        QCOMPARE(none.code, 1);
        QCOMPARE(none.out, QString());
        QVERIFY(saysInOrder(none.err, {"Password confirmed!", "No records"}));
    }

    // A window that cannot hold a moment, or a format that is none, is known before the device
    // is asked anything.
    void wrongArgumentsReadNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("empty window")
            << QStringList{"--from", "2015-03-03 0:00:00", "--to", "2015-03-03 0:00:00"}
            << "Time selection error";
        QTest::newRow("reversed window")
            << QStringList{"--from", "2015-03-03 10:00:00", "--to", "2015-03-03 9:00:00"}
            << "Time selection error";
        QTest::newRow("unknown format") << QStringList{"--format", "xml"} << "--format takes";
    }
    void wrongArgumentsReadNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        SimulatedDevice device;
        const CliResult r =
            runCli(QStringList{"--port", device.slavePath(), "history", "read"} + arguments);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(complaint), qPrintable(r.err));
        QCOMPARE(r.out, QString());
        QCOMPARE(device.requestCount(), 0);
    }

    void exportWritesTheFilteredRows() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(HistoryAddress, usedLog()));
        QTemporaryDir dir;
        const QString path = dir.filePath("x.cvs");
        const CliResult r = runCli({"--port", device.slavePath(), "history", "export", path,
                                    "--from", "2015-03-06 0:00:00", "--to", "2015-03-08 0:00:00"});
        QCOMPARE(r.code, 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("1,13,2015-03-06,12:00:00,Telephone,Relay OFF,+4930111,"
                            "\"Gate, \"\"north\"\"\",,\r\n"
                            "2,12,2015-03-07,07:05:09,SMS,Relay ON,+49300000000,,,\r\n"));
        QCOMPARE(
            runCli({"--port", device.slavePath(), "history", "export", dir.filePath("x.txt")}).code,
            2);
    }

    void deleteErasesTheLogOnlyWhenConfirmed() {
        DeviceOptions options;
        options.historyCount = 1000;
        SimulatedDevice device(options);
        const CliResult refused = runCli({"--port", device.slavePath(), "history", "delete"});
        QCOMPARE(refused.code, 1);
        QCOMPARE(device.memoryRange(HistoryAddress, 4), QByteArray::fromHex("01000000"));

        const CliResult deleted =
            runCli({"--port", device.slavePath(), "--yes", "history", "delete"});
        QCOMPARE(deleted.code, 0);
        QVERIFY(saysInOrder(deleted.err, {"Password confirmed!", "Historical data deleted"}));
        QCOMPARE(device.memoryRange(HistoryAddress, 0x4F400 - HistoryAddress),
                 QByteArray(0x4F400 - HistoryAddress, '\xFF'));
        const CliResult read = runCli({"--port", device.slavePath(), "history", "read"});
        QCOMPARE(read.code, 0);
        QCOMPARE(read.out, QString());

        DeviceFaults nak;
        nak.nakFrom = 1;
        device.setFaults(nak);
        const CliResult refusedByDevice =
            runCli({"--port", device.slavePath(), "--yes", "history", "delete"});
        QCOMPARE(refusedByDevice.code, 1);
        QVERIFY(saysInOrder(refusedByDevice.err,
                            {"Password confirmed!", "Historical data delet error"}));
    }
};

QTEST_GUILESS_MAIN(TestHistoryCli)
#include "tst_historycli.moc"
