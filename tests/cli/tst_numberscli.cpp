#include "CliHarness.h"
#include "SimulatedDevice.h"

#include <QTest>

namespace {

constexpr int ListAddress = 0x1000;
constexpr int ListSize = 375 * 256;

QByteArray hex(const char *text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

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
        QCOMPARE(r.out,
                 QStringLiteral("Password confirmed!\n"
                                "Authorized number list read to PC software success.\n"
                                "1\t+8613912345678\t2026-01-01\t08:00\t2026-12-31\t18:00\tno\n"
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
        QCOMPARE(out.out, QStringLiteral("Password confirmed!\n"
                                         "Authorized number list read to PC software success.\n"
                                         "Authorized number list saved success\n"));
        // The review before the save, its details included.
        QVERIFY2(out.err.contains("0 entries added, 0 changed, 1 deleted. Save to the device?\n"
                                  "Deleted: 2 -> OK(&Y) (--yes)"),
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

    void removingAnUnknownNumberSavesNothing() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, usedList()));
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "numbers", "remove", "999"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.out.endsWith("999 is not in the number list\n"), qPrintable(r.out));
        QCOMPARE(device.requestCount(), 1 + 375); // the login and the read
    }
};

QTEST_GUILESS_MAIN(TestNumbersCli)
#include "tst_numberscli.moc"
