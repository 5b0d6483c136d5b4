#include "CliHarness.h"
#include "FactoryImage.h"
#include "ImageFile.h"
#include "SimulatedDevice.h"
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int AreaSize = 512;

// The settings area of a device that was configured before: every kind of field
// in use.
QByteArray configuredArea() {
    SettingsTable t;
    t.setValue(2, QStringLiteral("+8613912345678"));
    t.setValue(5, QStringLiteral("Front door open"));
    t.setChoiceIndex(8, 1);
    t.setValue(10, QStringLiteral("30"));
    t.setChoiceIndex(11, 1);
    t.setValue(20, QStringLiteral("cmnet"));
    t.setValue(21, QStringLiteral("old-user"));
    t.setValue(22, QStringLiteral("pw"));
    uint8_t pages[AreaSize];
    SettingsArea area(t);
    area.encodePage1(pages, CodePage(1252));
    area.encodePage2(pages + 256, CodePage(1252));
    return QByteArray(reinterpret_cast<const char *>(pages), AreaSize);
}

// The area with bytes replaced at their offsets.
QByteArray patched(QByteArray area, const QList<QPair<int, QByteArray>> &patches) {
    for (const auto &[offset, bytes] : patches)
        area.replace(offset, bytes.size(), bytes);
    return area;
}

QString rowLine(const CliResult &r, int row) {
    for (const QString &line : r.out.split(u'\n'))
        if (line.startsWith(QString::number(row) + u'\t'))
            return line.section(u'\t', 2);
    return QStringLiteral("<missing>");
}

} // namespace

class TestSettingsCli : public QObject {
    Q_OBJECT
private slots:
    void init() { CodePage::setOverride(1252); }
    void cleanup() { CodePage::setOverride(0); }

    void readPrintsTheRows() {
        SimulatedDevice device;
        device.writeMemory(0, configuredArea());
        const CliResult r = runCli({"--port", device.slavePath(), "--yes", "settings", "read"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("1\t1.Password\t7482\n"));
        QVERIFY(r.out.contains("3\t3.DIN1 Type\t1:NO\n"));
        QCOMPARE(rowLine(r, 2), QStringLiteral("+8613912345678"));
        QCOMPARE(rowLine(r, 8), QStringLiteral("1:Arm"));
        QCOMPARE(rowLine(r, 11), QStringLiteral("1:Admin Number"));
        QCOMPARE(rowLine(r, 19), QStringLiteral("65535"));
        QCOMPARE(rowLine(r, 21), QStringLiteral("old-user"));
    }

    void readWithoutConsentReadsNothing() {
        SimulatedDevice device;
        const CliResult r = runCli({"--port", device.slavePath(), "settings", "read"});
        QCOMPARE(r.code, 1);
        QVERIFY(!r.out.contains("1.Password"));
        QCOMPARE(device.requestCount(), 1); // the login only
    }

    void setChangesOnlyTheGivenRows() {
        SimulatedDevice device;
        const QByteArray before = configuredArea();
        device.writeMemory(0, before);
        const CliResult r = runCli({"--port", device.slavePath(), "--yes", "settings", "set", "3=0",
                                    "9=All number can call to control the Relay",
                                    "12=Caller Number", "14=Relais aus", "1=1234"});
        QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
        QVERIFY(r.err.contains("Basic setting saved success"));
        const QByteArray expected =
            patched(before, {{0, "1234"},
                             {26, QByteArray(1, 0)},                // row 3, item 0
                             {110, QByteArray(1, 0)},               // row 9, item 0
                             {117, QByteArray(1, 2)},               // row 12, item 2
                             {158, QByteArray("Relais aus", 11)}}); // 0-ended
        QCOMPARE(device.memoryRange(0, AreaSize).toHex(' '), expected.toHex(' '));
    }

    void refusedArgumentsSendNothing_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("no row") << "7"
                                << "\"7\" is not N=VALUE";
        QTest::newRow("row 23") << "23=1"
                                << "\"23=1\" is not N=VALUE";
        QTest::newRow("letter in a digit row") << "7=1a"
                                               << "row 7 does not take \"1a\"";
        QTest::newRow("too long") << "21=gprs-user-17chars"
                                  << "would keep \"gprs-user-17char\"";
        QTest::newRow("empty number") << "7="
                                      << "row 7 needs a value";
        QTest::newRow("no such item") << "3=2"
                                      << "row 3 takes one of: 0:NC , 1:NO";
    }
    void refusedArgumentsSendNothing() {
        QFETCH(QString, change);
        QFETCH(QString, complaint);
        SimulatedDevice device;
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "settings", "set", change});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(complaint), qPrintable(r.err));
        QCOMPARE(device.requestCount(), 0);
    }

    void portTheDeviceCannotHoldIsRefusedBeforeSaving() {
        SimulatedDevice device;
        const QByteArray before = device.memoryRange(0, AreaSize);
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "settings", "set", "19=70000"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("the allowed range is 0 to 65535"), qPrintable(r.err));
        QCOMPARE(device.memoryRange(0, AreaSize), before);
        QCOMPARE(device.requestCount(), 3); // login and the read of two pages
    }

    // Without a converter for the code page nothing reaches the device.
    // A profile text the device's code page cannot hold is refused before anything is written.
    void profileTextTheDeviceCannotHoldIsRefused() {
        SimulatedDevice device;
        device.writeMemory(0, configuredArea());
        QTemporaryDir dir;
        const QString path = dir.filePath("profile.xlsx");
        QCOMPARE(runCli({"--port", device.slavePath(), "--yes", "settings", "export", path}).code,
                 0);
        WorkbookReader exported;
        QVERIFY(exported.open(path));
        WorkbookWriter edited;
        for (int r = 1; r <= 23; ++r)
            for (int c = 1; c <= 3; ++c)
                edited.setCellText(r, c, exported.valueText(r, c));
        edited.setCellText(6, 2, QStringLiteral("Tür 中文"));
        QVERIFY(edited.saveAs(path));

        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "settings", "import", path});
        QCOMPARE(r.code, 1);
        QVERIFY2((r.out + r.err)
                     .contains("Row 5 \"5.DIN1 Alarm Content\": \"中\" (U+4E2D) is not in code "
                               "page 1252, so the device cannot hold this text. Nothing was sent."),
                 qPrintable(r.out + r.err));
        QCOMPARE(device.memoryRange(0, AreaSize), configuredArea());
    }

    void codePageWithoutConverterStopsFirst() {
        CodePage::setOverride(1252, "no-such-converter");
        SimulatedDevice device;
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "settings", "set", "5=Front door open"});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err,
                 QStringLiteral("velmora-cli: Texts cannot be converted: this program has no "
                                "converter for code page 1252 (no-such-converter), the "
                                "code page of the system's language. The settings' texts, "
                                "the password included, would be read and saved empty.\n"));
        QCOMPARE(device.requestCount(), 0);
    }

    void refusedSaveIsAFailure() {
        DeviceOptions options;
        options.faults.nakFrom = 4; // after the login and the read
        SimulatedDevice device(options);
        const CliResult r =
            runCli({"--port", device.slavePath(), "--yes", "settings", "set", "7=15"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains("Basic setting error"));
        QCOMPARE(device.requestCount(), 4);
    }

    // The command-line program against a device program of its own, on a pty.
    void setAndReadAgainstDeviceProcess() {
        const QString cli = qEnvironmentVariable("VELMORA_CLI_EXE");
        if (cli.isEmpty())
            QSKIP("VELMORA_CLI_EXE is set by CTest");
        QTemporaryDir dir;
        const QString imagePath = dir.filePath("device.img");
        QByteArray image = FactoryImage::build(FactoryImage::DefaultPassword, 0);
        const QByteArray before = configuredArea();
        image.replace(0, AreaSize, before);
        const Result<void> saved = ImageFile::save(imagePath, image);
        QVERIFY2(saved, qPrintable(saved.reason()));

        QProcess device;
        device.start(VELMORA_DEVSIM_EXE, {"--image", imagePath});
        QVERIFY2(device.waitForStarted(10000), VELMORA_DEVSIM_EXE);
        QVERIFY(device.waitForReadyRead(10000));
        const QString port = QString::fromLocal8Bit(device.readLine()).trimmed();

        QProcess set;
        set.start(cli, {"--port", port, "--yes", "settings", "set", "7=15", "18=10.0.0.1",
                        "19=8080", "21=gprs-user-16char"});
        QVERIFY(set.waitForFinished(20000));
        QVERIFY2(set.exitCode() == 0, set.readAllStandardOutput().constData());

        QProcess read;
        read.start(cli, {"--port", port, "--yes", "settings", "read"});
        QVERIFY(read.waitForFinished(20000));
        QCOMPARE(read.exitCode(), 0);
        const QByteArray printed = read.readAllStandardOutput();
        for (const char *line :
             {"7\t7.Auto Arm after authorized number call-in(0~999)\t15\n",
              "18\t18.Server IP Address\t10.0.0.1\n", "19\t19.Server Port(0-65535)\t8080\n",
              "21\t21.GPRS User Name\tgprs-user-16char\n", "20\t20.GPRS APN\tcmnet\n"})
            QVERIFY2(printed.contains(line), line);

        device.terminate();
        QVERIFY(device.waitForFinished(10000));
        const Result<QByteArray> loaded = ImageFile::load(imagePath, int(image.size()));
        QVERIFY2(loaded, qPrintable(loaded.reason()));
        const QByteArray &after = loaded.value();
        // Row 21 starts in the last two bytes of page 1 and goes on at the start of page 2.
        const QByteArray expected = patched(before, {{108, QByteArray::fromHex("0F00")},
                                                     {204, "10.0.0.1"},
                                                     {236, QByteArray::fromHex("901F")},
                                                     {254, "gp"},
                                                     {256, "rs-user-16char"}});
        QCOMPARE(after.left(AreaSize).toHex(' '), expected.toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestSettingsCli)
#include "tst_settingscli.moc"
