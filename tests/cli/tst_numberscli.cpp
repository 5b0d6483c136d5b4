#include "CliHarness.h"
#include "Hex.h"
#include "SimulatedDevice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr int ListAddress = 0x1000;
constexpr int ListSize = 375 * 256;

QByteArray record(const QByteArray &number, const char *window) {
    return number + QByteArray(22 - number.size(), '\0') + hex(window);
}

// A device in use: an entry with a window, an Always entry, a deleted record, a gap, one more.
QByteArray usedList() {
    QByteArray list(ListSize, '\0');
    list.replace(0, 32, record("+8613912345678", "01 01 08 00 0C 1F 12 00 1A 1A"));
    list.replace(32, 32, record("5551234", "63 63 63 63 63 63 63 63 00 63"));
    list.replace(64, 32, QByteArray(32, '\xFF'));
    list.replace(128, 32, record("0049301234", "06 0F 07 1E 06 0F 13 00 1B 1B"));
    return list;
}

} // namespace

class TestNumbersCli : public QObject {
    Q_OBJECT
private slots:
    void readPrintsEachEntry() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, usedList()));
        const CliResult r = runCli({"--port", device.slavePath(), "--yes", "numbers", "read"});
        QCOMPARE(r.code, 0);
        QVERIFY(saysInOrder(
            r.err, {"Password confirmed!", "Authorized number list read to PC software success."}));
        QCOMPARE(r.out,
                 QStringLiteral("1\t+8613912345678\t2026-01-01\t08:00\t2026-12-31\t18:00\tno\n"
                                "2\t5551234\t\t\t\t\tyes\n"
                                "5\t0049301234\t2027-06-15\t07:30\t2027-06-15\t19:00\tno\n"));
    }

    // An installer's day: a tenant moves in with a window, another moves out.
    void addAndRemoveChangeOnlyTheirRecords() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, usedList()));
        const CliResult in =
            runCli({"--port", device.slavePath(), "--yes", "numbers", "add", "+4915112345678",
                    "--from", "2026/01/01 08:00", "--to", "2026/12/31 18:00", "--verify"});
        QCOMPARE(in.code, 0);
        const CliResult out = runCli(
            {"--port", device.slavePath(), "--yes", "numbers", "remove", "5551234", "--verify"});
        QCOMPARE(out.code, 0);
        QCOMPARE(out.out, QString());
        QVERIFY(saysInOrder(out.err, {"Password confirmed!",
                                      "Authorized number list read to PC software success.",
                                      "Authorized number list saved success"}));
        // The review before the save, its details and warnings included.
        QVERIFY2(out.err.contains("0 entries added, 0 changed, 1 deleted. Save to the device?\n"
                                  "Deleted: 2\n\nWarnings:\nNumbers in two styles: with \"+\" "
                                  "country code in serials 1, 3; without in serials 5 -> OK(&Y) "
                                  "(--yes)"),
                 qPrintable(out.err));

        QByteArray expected = usedList();
        // The deleted record of row 3 reads as an empty row: the first one, so the new entry
        // takes it; the removed entry is erased.
        expected.replace(64, 32, record("+4915112345678", "01 01 08 00 0C 1F 12 00 1A 1A"));
        expected.replace(32, 32, QByteArray(32, '\xFF'));
        QCOMPARE(device.memoryRange(ListAddress, ListSize), expected);
    }

    // Revoking access: a device that acknowledges the write but keeps the number fails it.
    void removeFromADeviceThatStoresNothingFails() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, usedList()));
        device.setFaults({.forgetWritesFrom = 1});
        const CliResult r = runCli(
            {"--port", device.slavePath(), "--yes", "numbers", "remove", "5551234", "--verify"});
        QCOMPARE(r.code, 1);
        // Where the message goes is the front's business; that it is shown is checked here.
        const QString shown = r.out + r.err;
        QVERIFY2(shown.contains("Number list data error"), qPrintable(shown));
        QVERIFY2(shown.contains("Pages that read back otherwise than written: 1"),
                 qPrintable(shown));
        QCOMPARE(device.memoryRange(ListAddress, ListSize), usedList());
    }

    void addingAnEntryAgainReusesItsRow() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, usedList()));
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "numbers", "add", "0049301234"});
        QCOMPARE(r.code, 0);
        QByteArray expected = usedList();
        expected.replace(64, 32, QByteArray(32, '\0'));
        expected.replace(128, 32, record("0049301234", "63 63 63 63 63 63 63 63 00 63"));
        QCOMPARE(device.memoryRange(ListAddress, ListSize), expected);
    }

    void wrongArgumentsSendNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("dash in the number") << QStringList{"numbers", "add", "123-456"};
        QTest::newRow("23 digits") << QStringList{"numbers", "add", QString(23, u'1')};
        QTest::newRow("month 13") << QStringList{
            "numbers", "add", "1", "--from", "2026/13/01 08:00", "--to", "2026/12/31 18:00"};
        QTest::newRow("a lone plus") << QStringList{"numbers", "add", "+"};
        QTest::newRow("plus between digits") << QStringList{"numbers", "add", "49+30"};
        QTest::newRow("from without to")
            << QStringList{"numbers", "add", "1", "--from", "2026/01/01 08:00"};
        QTest::newRow("unknown action") << QStringList{"numbers", "list"};
    }
    void wrongArgumentsSendNothing() {
        QFETCH(QStringList, arguments);
        SimulatedDevice device;
        const CliResult r = runCli(QStringList{"--port", device.slavePath()} + arguments);
        QCOMPARE(r.code, 2);
        QCOMPARE(device.requestCount(), 0);
    }

    // Neither is read: /dev/zero never ends, a FIFO without a writer would wait for ever.
    void importOfASpecialFileSendsNothing() {
        SimulatedDevice device;
        QTemporaryDir dir;
        const QString fifo = dir.filePath("list.csv");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &path : {QStringLiteral("/dev/zero"), fifo}) {
            const CliResult r =
                runCli({"--port", device.slavePath(), "--yes", "numbers", "import", path});
            QCOMPARE(r.code, 1);
            QVERIFY2((r.out + r.err).contains("it is not a regular file"), qPrintable(r.out));
            QCOMPARE(device.requestCount(), 0);
        }
    }

    void removingAnUnknownNumberSavesNothing() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, usedList()));
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "numbers", "remove", "999"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.endsWith("999 is not in the number list\n"), qPrintable(r.err));
        QCOMPARE(device.requestCount(), 1 + 375); // the login and the read
    }
};

QTEST_GUILESS_MAIN(TestNumbersCli)
#include "tst_numberscli.moc"
