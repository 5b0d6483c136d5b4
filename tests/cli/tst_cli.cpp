#include "CliHarness.h"
#include "CliRun.h"
#include "CommandTable.h"
#include "FakeTtyClass.h"
#include "PseudoTerminal.h"
#include "SimulatedDevice.h"
#include "protocol/TComm.h"
#include "protocol/Trecognitionserial.h"

#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void helpDocumentsEveryCommand() {
        const CliResult r = runCli({"--help"});
        QCOMPARE(r.code, 0);
        for (const CliCommand &c : commandTable())
            QVERIFY2(r.out.contains("  " + c.name), qPrintable(c.name));
        for (const char *option : {"--port", "--password", "--yes", "Exit status"})
            QVERIFY2(r.out.contains(option), option);
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("no command") << QStringList{} << "no command given";
        QTest::newRow("unknown command")
            << QStringList{"--port", "x", "reboot"} << "unknown command \"reboot\"";
        QTest::newRow("no port") << QStringList{"login"} << "login needs --port";
        QTest::newRow("blank port") << QStringList{"--port", " ", "login"} << "needs --port";
        QTest::newRow("unknown option") << QStringList{"--colour", "ports"} << "colour";
        QTest::newRow("option without value") << QStringList{"ports", "--port"} << "port";
        QTest::newRow("extra argument")
            << QStringList{"--port", "x", "login", "now"} << "usage: velmora-cli login";
        QTest::newRow("two passwords")
            << QStringList{"--password", "1", "--password-stdin", "--port", "x", "login"}
            << "--password and --password-stdin exclude each other";
        QTest::newRow("no password line")
            << QStringList{"--password-stdin", "--port", "x", "login"} << "found no line";
    }
    void badUsage() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        const CliResult r = runCli(arguments);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.startsWith("velmora-cli: ") && r.err.contains(complaint), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void portsListsTheMachinePorts() {
        FakeTtyClass tty;
        tty.addUsb("ttyUSB7", "0403", "6001", "ftdi_sio");
        tty.add("ttyS0", true, true, "4\n");
        tty.add("ttyS1", true, true, "0\n"); // no UART behind it
        const CliResult r = runCli({"ports"}, {}, Trecognitionserial(tty.root(), tty.dev()));
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, tty.dev() + "/ttyUSB7\n" + tty.dev() + "/ttyS0\n");
        QVERIFY(r.err.isEmpty());
    }

    void login_data() {
        QTest::addColumn<QByteArray>("devicePassword");
        QTest::addColumn<QStringList>("passwordArguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("default 7482")
            << QByteArray("7482") << QStringList{} << "" << 0 << "Password confirmed!";
        QTest::newRow("wrong digit") << QByteArray("7482") << QStringList{"--password", "7483"}
                                     << "" << 1 << "Password Error!";
        QTest::newRow("first input line")
            << QByteArray("Kx9q") << QStringList{"--password-stdin"} << "Kx9q\n"
            << 0 << "Password confirmed!";
    }
    void login() {
        QFETCH(QByteArray, devicePassword);
        QFETCH(QStringList, passwordArguments);
        QFETCH(QString, input);
        QFETCH(int, code);
        QFETCH(QString, message);
        DeviceOptions options;
        options.password = devicePassword;
        SimulatedDevice device(options);
        const CliResult r = runCli(QStringList{"--port", device.slavePath()} + passwordArguments +
                                       QStringList{"login"},
                                   input);
        QCOMPARE(r.code, code);
        QCOMPARE(r.out, QString());
        QVERIFY2(saysInOrder(r.err, {"Password verifing", message}), qPrintable(r.err));
    }

    // The login's request and the device's reply, each on a line of its own.
    void traceShowsEveryFrame() {
        SimulatedDevice device;
        const CliResult r = runCli({"--trace", "--port", device.slavePath(), "login"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.err.contains("Password confirmed!\n"));
        const QString time = "\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d ";
        const QStringList lines = r.err.split('\n').filter(QRegularExpression("^" + time));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(QRegularExpression("^" + time + "→ 83 read 0x000000  23 83 00 00 00 00 00 00 83$")
                     .match(lines[0])
                     .hasMatch(),
                 qPrintable(lines[0]));
        // The factory password 7482 opens the settings page.
        QVERIFY2(QRegularExpression("^" + time +
                                    "← 83 0x000000 256 bytes ok  23 83 00 00 00 00 01 00 37 34 "
                                    "38 32(?: [0-9a-f]{2}){253}$")
                     .match(lines[1])
                     .hasMatch(),
                 qPrintable(lines[1]));
    }

    void syncTimeSendsTheClock() {
        SimulatedDevice device;
        const QDateTime before = QDateTime::currentDateTime();
        const CliResult r = runCli({"--port", device.slavePath(), "sync-time"});
        QCOMPARE(r.code, 0);
        QVERIFY2(saysInOrder(r.err, {"Password confirmed!", "1同步时间返回正确"}),
                 qPrintable(r.err));
        const QByteArray clock = device.lastTimeBytes();
        QCOMPARE(clock.size(), 6);
        QCOMPARE(uchar(clock[0]), uchar(before.date().year() & 0xFF));
        const QDateTime sent(QDate(before.date().year(), uchar(clock[1]), uchar(clock[2])),
                             QTime(uchar(clock[3]), uchar(clock[4]), uchar(clock[5])));
        QVERIFY2(sent.isValid() && qAbs(before.secsTo(sent)) <= 5, qPrintable(clock.toHex(' ')));
    }

    void checkingMode_data() {
        QTest::addColumn<int>("nakFrom");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("answer");
        QTest::newRow("accepted") << 0 << 0 << "Enter";
        QTest::newRow("refused") << 2 << 1 << "Error";
    }
    void checkingMode() {
        QFETCH(int, nakFrom);
        QFETCH(int, code);
        QFETCH(QString, answer);
        DeviceOptions options;
        options.faults.nakFrom = nakFrom;
        SimulatedDevice device(options);
        const CliResult r = runCli({"--port", device.slavePath(), "checking-mode"});
        QCOMPARE(r.code, code);
        QVERIFY2(saysInOrder(r.err, {"Password confirmed!", answer}), qPrintable(r.err));
        QCOMPARE(device.lastRequest(), QByteArray::fromHex("230400000000000004"));
    }

    void commandsStopAtAFailedLogin() {
        SimulatedDevice device;
        const CliResult r =
            runCli({"--port", device.slavePath(), "--password", "0000", "checking-mode"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.endsWith("Password Error!\n"), qPrintable(r.err));
        QCOMPARE(device.requestCount(), 1);
    }

    void missingPort() {
        const CliResult r = runCli({"--port", "/dev/ttyNoSuchPort7", "login"});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, QStringLiteral(
                            "COM Port error\nNo such device — the adapter is not plugged in (or "
                            "was unplugged)\n"));
    }

    void notASerialPort() {
        // The link only notes this failure; the front still reports it and fails.
        const CliResult r = runCli({"--port", "/dev/null", "login"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.startsWith("COM Port error\n"), qPrintable(r.err));
    }

    void portInUse() {
        SimulatedDevice device;
        TComm holder;
        holder.setCommName(device.slavePath());
        holder.OpenPort();
        const CliResult r = runCli({"--port", device.slavePath(), "login"});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, QStringLiteral("COM Port error\nThe port is in use by another program\n"));
    }

    void silentDeviceTimesOut() {
        PseudoTerminal pty;
        const CliResult r = runCli({"--port", pty.slavePath(), "login"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.endsWith("Receive timeout\n"), qPrintable(r.err));
    }

    void brokenOffReplyTimesOut() {
        DeviceOptions options;
        options.faults.cutAfter = 5;
        SimulatedDevice device(options);
        const CliResult r = runCli({"--port", device.slavePath(), "login"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.endsWith("Receive timeout\n"), qPrintable(r.err));
    }

    void unpluggedDeviceEndsTheOperation() {
        DeviceOptions options;
        options.faults.hangUpAt = 2; // after the login
        SimulatedDevice device(options);
        const CliResult r = runCli({"--port", device.slavePath(), "checking-mode"});
        QCOMPARE(r.code, 1);
        QVERIFY2(saysInOrder(r.err, {"Password confirmed!", "COM Port error",
                                     "The device was disconnected"}),
                 qPrintable(r.err));
    }

    void executableAgainstDeviceProcess() {
        const QString cli = qEnvironmentVariable("VELMORA_CLI_EXE");
        if (cli.isEmpty())
            QSKIP("VELMORA_CLI_EXE is set by CTest");
        QProcess device;
        device.start(VELMORA_DEVSIM_EXE, {});
        QVERIFY2(device.waitForStarted(10000), VELMORA_DEVSIM_EXE);
        QVERIFY(device.waitForReadyRead(10000));
        const QString port = QString::fromLocal8Bit(device.readLine()).trimmed();

        QProcess good;
        good.start(cli, {"--port", port, "login"});
        QVERIFY(good.waitForFinished(20000));
        QCOMPARE(good.exitCode(), 0);
        QCOMPARE(good.readAllStandardOutput(), QByteArray());
        QVERIFY(good.readAllStandardError().endsWith("Password confirmed!\n"));

        QProcess bad;
        bad.start(cli, {"--port", port, "--password", "1234", "login"});
        QVERIFY(bad.waitForFinished(20000));
        QCOMPARE(bad.exitCode(), 1);
        QCOMPARE(bad.readAllStandardOutput(), QByteArray());
        QVERIFY(bad.readAllStandardError().endsWith("Password Error!\n"));

        device.terminate();
        QVERIFY(device.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
