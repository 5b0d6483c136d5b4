#include "CliHarness.h"
#include "Hex.h"
#include "SimulatedDevice.h"
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int ListAddress = 0x1000;
constexpr int ListSize = 375 * 256;

QString writeSheet(const QString &path, const QList<QStringList> &rows) {
    WorkbookWriter writer;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            writer.setCellText(r + 1, c + 1, rows[r][c]);
    return writer.saveAs(path) ? WorkbookWriter::withDefaultExtension(path) : QString();
}

} // namespace

class TestProvisioningCli : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    // An installer configures a new device from a profile and a number list, two commands.
    void newDeviceFromTwoFiles() {
        QList<QStringList> profile = {{"Items", "Content", "Description"}};
        const QStringList values = {"1234",
                                    "+8613800000000",
                                    "0:NC ",
                                    "1:NO",
                                    "Gate open",
                                    "",
                                    "5",
                                    "1:Arm",
                                    "0:All",
                                    "30",
                                    "2:Caller Number",
                                    "0:None",
                                    "ON",
                                    "OFF",
                                    "999",
                                    "0",
                                    "9999",
                                    "",
                                    "8080",
                                    "",
                                    "",
                                    ""};
        for (int i = 0; i < values.size(); ++i)
            profile << QStringList{QString::number(i + 1), values[i], "note"};
        const QString profilePath = writeSheet(dir.filePath("profile.xlsx"), profile);
        const QString listPath = writeSheet(
            dir.filePath("list.xls"),
            {{"Serial"},
             {"1", "+998877665544", "2024/05/17", "08:00", "2024/12/31", "18:00", "no", "no"},
             {"2", "0987654321", "", "", "", "", "yes", "no"}});
        QVERIFY(!profilePath.isEmpty() && !listPath.isEmpty());

        SimulatedDevice device;
        device.writeMemory(ListAddress + 64, QByteArray(32, '\x11'));
        const CliResult settings =
            runCli({"--port", device.slavePath(), "--yes", "settings", "import", profilePath});
        QVERIFY2(settings.code == 0, qPrintable(settings.out + settings.err));
        const CliResult numbers = runCli({"--port", device.slavePath(), "--yes", "--password",
                                          "1234", "numbers", "import", listPath, "--verify"});
        QVERIFY2(numbers.code == 0, qPrintable(numbers.out + numbers.err));

        QByteArray page1(256, '\xFF');
        const QList<QPair<int, QByteArray>> fields = {{0, "1234"},
                                                      {4, QByteArray("+8613800000000", 15)},
                                                      {26, hex("00 01")},
                                                      {28, QByteArray("Gate open", 10)},
                                                      {68, hex("00")},
                                                      {108, hex("05 00 00 01 1E 00 1E 00 02 00")},
                                                      {118, QByteArray("ON", 3)},
                                                      {158, QByteArray("OFF", 4)},
                                                      {198, hex("0F 27 E7 03 00 00")},
                                                      {236, hex("90 1F")}};
        for (const auto &[offset, bytes] : fields)
            page1.replace(offset, bytes.size(), bytes);
        QCOMPARE(device.memoryRange(0, 256).toHex(' '), page1.toHex(' '));
        QCOMPARE(device.memoryRange(256, 256), QByteArray(256, '\xFF'));

        QByteArray list(ListSize, '\0');
        list.replace(0, 32,
                     QByteArray("+998877665544") + QByteArray(9, '\0') +
                         hex("05 11 08 00 0C 1F 12 00 18 18"));
        list.replace(32, 32,
                     QByteArray("0987654321") + QByteArray(12, '\0') +
                         hex("63 63 63 63 63 63 63 63 00 63"));
        QCOMPARE(device.memoryRange(ListAddress, ListSize).toHex(' '), list.toHex(' '));
    }

    void exportsWriteWhatTheDeviceHolds() {
        SimulatedDevice device;
        device.writeMemory(ListAddress, QByteArray("0987654321") + QByteArray(12, '\0') +
                                            hex("63 63 63 63 63 63 63 63 00 63"));
        const QString profile = dir.filePath("device-profile");
        const CliResult s = runCli({"--port", device.slavePath(), "settings", "export", profile});
        QVERIFY2(s.code == 0, qPrintable(s.out + s.err));
        QVERIFY(s.out.endsWith(profile + ".xlsx\n"));
        WorkbookReader reader;
        QVERIFY(reader.open(profile + ".xlsx"));
        QCOMPARE(reader.valueText(2, 2), QStringLiteral("7482"));
        QCOMPARE(reader.valueText(20, 2), QStringLiteral("65535"));

        const QString csv = dir.filePath("list.cvs");
        const CliResult n = runCli({"--port", device.slavePath(), "numbers", "export", csv});
        QVERIFY2(n.code == 0, qPrintable(n.out + n.err));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine(), QByteArray("1,0987654321,,,,,yes,no,,\r\n"));
    }

    // A second backup of the same device, within the same second or not, keeps the first.
    void backupWritesThreeWorkbooks() {
        DeviceOptions options;
        options.historyCount = 3;
        SimulatedDevice device(options);
        const QString folder = dir.filePath("backup");
        for (int run = 0; run < 2; ++run) {
            const CliResult r = runCli({"--port", device.slavePath(), "backup", folder});
            QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
        }
        const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 6);
        const QString named = "\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_pts-\\d+(_2)?\\.xlsx";
        const QString prefixes[] = {"basicinf_R", "hisinf_R", "telinf_R"};
        const QString firstCells[] = {"Items", "", "Serial"};
        for (int i = 0; i < 6; ++i) {
            QVERIFY2(
                QRegularExpression("^" + prefixes[i / 2] + named + "$").match(files[i]).hasMatch(),
                qPrintable(files[i]));
            WorkbookReader reader;
            QVERIFY(reader.open(QDir(folder).filePath(files[i])));
            if (!firstCells[i / 2].isEmpty())
                QCOMPARE(reader.displayedText(1, 1), firstCells[i / 2]);
        }
    }
};

QTEST_GUILESS_MAIN(TestProvisioningCli)
#include "tst_provisioningcli.moc"
