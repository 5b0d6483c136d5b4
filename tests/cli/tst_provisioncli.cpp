#include "CliHarness.h"
#include "SimulatedDevice.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

constexpr int ListAddress = 0x1000;
constexpr int ListSize = 375 * 256;

QByteArray record(const QByteArray &number, const char *window) {
    return number + QByteArray(22 - number.size(), '\0') +
           QByteArray::fromHex(QByteArray(window).replace(' ', ""));
}

} // namespace

class TestProvisionCli : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    // Three devices and a path that is none: the three are configured, the fourth fails alone.
    void portsRunApartAndOneFailureStaysItsOwn() {
        const QString cli = qEnvironmentVariable("VELMORA_CLI_EXE");
        if (cli.isEmpty())
            QSKIP("VELMORA_CLI_EXE is set by CTest");
        QByteArray list(ListSize, '\0');
        list.replace(0, 32, record("+8613912345678", "01 01 08 00 0C 1F 12 00 1A 1A"));
        list.replace(2999 * 32, 32, record("5551234", "63 63 63 63 63 63 63 63 00 63"));
        SimulatedDevice source;
        QVERIFY(source.writeMemory(ListAddress, list));
        QVERIFY(source.writeMemory(28, QByteArray("Gate X", 7)));
        const QString profile = dir.filePath("profile.xlsx");
        const QString book = dir.filePath("list.xlsx");
        QCOMPARE(runCli({"--port", source.slavePath(), "settings", "export", profile}).code, 0);
        QCOMPARE(runCli({"--port", source.slavePath(), "numbers", "export", book}).code, 0);

        std::vector<std::unique_ptr<SimulatedDevice>> devices;
        QStringList ports;
        for (int i = 0; i < 3; ++i) {
            devices.push_back(std::make_unique<SimulatedDevice>());
            ports << devices.back()->slavePath();
        }
        ports.insert(1, dir.filePath("profile.xlsx")); // a file, not a serial port
        QProcess run;
        run.start(cli, QStringList{"--yes", "provision", "--profile", profile, "--numbers", book,
                                   "--sync-time"} +
                           ports);
        QVERIFY(run.waitForFinished(120000));
        const QString out = QString::fromLocal8Bit(run.readAllStandardOutput());
        QCOMPARE(run.exitCode(), 1);
        const QStringList lines = out.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        for (int i = 0; i < 4; ++i) {
            const QStringList fields = lines[i].split('\t');
            QCOMPARE(fields.size(), 3);
            QCOMPARE(fields[0], ports[i]);
            QCOMPARE(fields[1], i == 1 ? QStringLiteral("failed") : QStringLiteral("ok"));
            bool isNumber = false;
            fields[2].toDouble(&isNumber);
            QVERIFY(isNumber);
        }
        for (const auto &device : devices) {
            QCOMPARE(device->memoryRange(ListAddress, ListSize), list);
            QCOMPARE(device->memoryRange(28, 7), QByteArray("Gate X", 7));
        }
    }

    void portsAndAllPortsIsAWrongCall() {
        QCOMPARE(runCli({"provision", "--profile", "p.xlsx", "--numbers", "n.xlsx", "--all-ports",
                         "/dev/null"})
                     .code,
                 2);
    }
};

QTEST_GUILESS_MAIN(TestProvisionCli)
#include "tst_provisioncli.moc"
