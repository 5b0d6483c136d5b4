#include "CliHarness.h"
#include "SimulatedDevice.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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

// The command lines of `parent`'s children as they stand, arguments joined by blanks.
QStringList childCommandLines(qint64 parent) {
    QStringList lines;
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and parentheses.
        const QByteArray fields = stat.readAll();
        const QList<QByteArray> after = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (after.size() > 1 && after[1].toLongLong() == parent &&
            cmdline.open(QIODevice::ReadOnly))
            lines << QString::fromLocal8Bit(cmdline.readAll().replace('\0', ' '));
    }
    return lines;
}

} // namespace

class TestProvisionCli : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    // Three devices and a path that is none: the three are configured, the fourth fails alone.
    // Each child logs in with the password the command was given.
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
        DeviceOptions locked;
        locked.password = "Kx9q";
        for (int i = 0; i < 3; ++i) {
            devices.push_back(std::make_unique<SimulatedDevice>(locked));
            ports << devices.back()->slavePath();
        }
        ports.insert(1, dir.filePath("profile.xlsx")); // a file, not a serial port
        QProcess run;
        run.start(cli, QStringList{"--password-stdin", "--yes", "provision", "--profile", profile,
                                   "--numbers", book, "--sync-time"} +
                           ports);
        run.write("Kx9q\n");
        run.closeWriteChannel();
        // Every local user can read a command line: the password must not stand in one.
        QStringList seen;
        QDeadlineTimer deadline(120000);
        while (!run.waitForFinished(10) && !deadline.hasExpired())
            seen << childCommandLines(run.processId());
        QCOMPARE(run.state(), QProcess::NotRunning);
        QVERIFY(!seen.filter(" --port ").isEmpty());
        QVERIFY2(seen.filter("Kx9q").isEmpty(), qPrintable(seen.filter("Kx9q").join('\n')));
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
