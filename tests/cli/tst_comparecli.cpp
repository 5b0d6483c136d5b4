#include "CliHarness.h"
#include "SimulatedDevice.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int ListAddress = 0x1000;
constexpr int ListSize = 375 * 256;

QByteArray record(const QByteArray &number, const char *window) {
    return number + QByteArray(22 - number.size(), '\0') +
           QByteArray::fromHex(QByteArray(window).replace(' ', ""));
}

const char *const Always = "63 63 63 63 63 63 63 63 00 63";

} // namespace

// Comparing a device with a file, and the warnings of the review before a list is saved.
class TestCompareCli : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    void numbersDiffListsTheDifferingSerials() {
        QByteArray list(ListSize, '\0');
        list.replace(0, 32, record("+8613912345678", "01 01 08 00 0C 1F 12 00 1A 1A"));
        list.replace(32, 32, record("5551234", Always));
        SimulatedDevice other;
        QVERIFY(other.writeMemory(ListAddress, list));
        const QString book = dir.filePath("other.xlsx");
        QCOMPARE(runCli({"--port", other.slavePath(), "numbers", "export", book}).code, 0);

        SimulatedDevice device;
        list.replace(32, 32, QByteArray(32, '\xFF'));
        list.replace(2999 * 32, 32, record("+4930999", Always));
        QVERIFY(device.writeMemory(ListAddress, list));
        const CliResult r = runCli({"--port", device.slavePath(), "numbers", "diff", book});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QStringLiteral("2\t\t5551234 Always\n3000\t+4930999 Always\t\n"));
        QVERIFY(r.err.contains("2 differences"));
        QCOMPARE(device.memoryRange(ListAddress, ListSize), list); // nothing was written

        const CliResult same = runCli({"--port", other.slavePath(), "numbers", "diff", book});
        QCOMPARE(same.code, 0);
        QCOMPARE(same.out, QString());
    }

    void settingsDiffListsTheDifferingRows_data() {
        QTest::addColumn<QStringList>("format");
        QTest::addColumn<QString>("out");
        QTest::newRow("tsv by default") << QStringList{} << "5\tGate B\tGate A\n";
        QTest::newRow("json") << QStringList{"--format", "json"}
                              << "[\n{\"Row\": \"5\", \"Device\": \"Gate B\", \"File\": "
                                 "\"Gate A\"}\n]\n";
    }
    void settingsDiffListsTheDifferingRows() {
        QFETCH(QStringList, format);
        QFETCH(QString, out);
        SimulatedDevice device;
        QVERIFY(device.writeMemory(28, QByteArray("Gate A", 7)));
        const QString profile = dir.filePath("profile.xlsx");
        QCOMPARE(runCli({"--port", device.slavePath(), "settings", "export", profile}).code, 0);
        QCOMPARE(runCli({"--port", device.slavePath(), "settings", "diff", profile}).code, 0);
        QVERIFY(device.writeMemory(28, QByteArray("Gate B", 7)));
        const CliResult r =
            runCli(QStringList{"--port", device.slavePath(), "settings", "diff", profile} + format);
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, out);
    }

    void saveReviewWarns() {
        QByteArray list(ListSize, '\0');
        list.replace(0, 32, record("+8613912345678", "01 01 08 00 01 02 12 00 18 18"));
        list.replace(32, 32, record("5551234", Always));
        SimulatedDevice device;
        QVERIFY(device.writeMemory(ListAddress, list));
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "numbers", "add", "5551234"});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.err.contains("\nWarnings:\nValidity ended before now: serials 1\n"
                                "Numbers in two styles: with \"+\" country code in serials 1; "
                                "without in serials 2"),
                 qPrintable(r.err.right(600)));
    }
};

QTEST_GUILESS_MAIN(TestCompareCli)
#include "tst_comparecli.moc"
