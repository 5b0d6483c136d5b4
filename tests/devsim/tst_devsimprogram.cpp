#include "DeviceMemoryMap.h"
#include "PtyClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace DeviceMemoryMap;

namespace {

const QByteArray Accepted(1, char(1));
const QByteArray Refused(1, char(0));

// velmora-devsim as built, started with arguments; its first line of output is the terminal.
class Program {
public:
    explicit Program(const QStringList &arguments) {
        process.start(VELMORA_DEVSIM_EXE, arguments);
        process.waitForStarted();
        QElapsedTimer timer;
        timer.start();
        while (!process.canReadLine() && process.state() == QProcess::Running &&
               timer.elapsed() < 10000)
            process.waitForReadyRead(100);
        terminal = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // Stops it as an operator would; true when it ended cleanly.
    bool stop() {
        process.terminate();
        return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QProcess process;
    QString terminal;
};

QByteArray page(char fill) {
    QByteArray bytes(PageSize, fill);
    bytes[0] = '#';
    return bytes;
}

QByteArray replyData(PtyClient &client, uint8_t command, int address, const QByteArray &data = {}) {
    return ReplyFrame::parse(client.exchange(command, address, data)).data;
}

struct Finished {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

Finished runToEnd(const QStringList &arguments) {
    QProcess process;
    process.start(VELMORA_DEVSIM_EXE, arguments);
    process.waitForFinished(10000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestDevsimProgram : public QObject {
    Q_OBJECT
private slots:
    void servesTheFirstLinesTerminal() {
        Program program({});
        QVERIFY(program.terminal.startsWith("/dev/"));
        PtyClient client(program.terminal);
        QVERIFY(client.isOpen());
        QCOMPARE(replyData(client, 0x83, 0).left(4), QByteArray("7482"));
        QCOMPARE(replyData(client, 0x82, 0x1000, page('x')), Accepted);
        QCOMPARE(replyData(client, 0x83, 0x1000), page('x'));
        QCOMPARE(replyData(client, 0x03, 0, QByteArray(6, 1)), Accepted);
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
        QCOMPARE(replyData(client, 0x85, 0), Accepted);
        QCOMPARE(replyData(client, 0x83, 0x4F300), QByteArray(PageSize, char(0xFF)));
        QVERIFY(program.stop());
    }

    void stopsCleanlyOnSignal_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }
    void stopsCleanlyOnSignal() {
        QFETCH(int, signal);
        Program program({"--delay", "60000"});
        PtyClient client(program.terminal);
        // Even while it holds back a reply.
        QVERIFY(client.send(PtyClient::frame(0x04, 0)));
        QTest::qWait(100);
        ::kill(pid_t(program.process.processId()), signal);
        QVERIFY(program.process.waitForFinished(10000));
        QCOMPARE(program.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process.exitCode(), 0);
    }

    // Nobody reads the replies: the terminal's queue back fills, and the program must still end
    // cleanly, and soon.
    void stopsCleanlyOnAFullTerminal() {
        Program program({});
        PtyClient client(program.terminal);
        // 400 requests fit the terminal's queue towards the device; their 100 KiB of replies do
        // not fit the queue back.
        const QByteArray request = PtyClient::frame(0x83, 0);
        for (int i = 0; i < 400; ++i)
            QVERIFY(client.send(request));
        QVERIFY(!client.readFrame().isEmpty());
        QVERIFY(program.stop());
    }

    void imageKeepsMemoryAcrossRuns() {
        QTemporaryDir dir;
        const QString image = dir.filePath("device.img");
        {
            Program first({"--image", image, "--password", "AbCd", "--history", "4"});
            PtyClient client(first.terminal);
            QCOMPARE(replyData(client, 0x82, 0x1000, page('y')), Accepted);
            QVERIFY(first.stop());
        }
        QCOMPARE(QFile(image).size(), ImageSize);
        {
            // The options for a fresh memory no longer apply: the image is the memory.
            Program second({"--image", image, "--history", "0"});
            PtyClient client(second.terminal);
            QCOMPARE(replyData(client, 0x83, 0x1000), page('y'));
            QCOMPARE(replyData(client, 0x83, 0).left(4), QByteArray("AbCd"));
            QVERIFY(replyData(client, 0x83, 0x30000) != QByteArray(PageSize, char(0xFF)));
            QCOMPARE(replyData(client, 0x85, 0), Accepted);
            // Killed without warning right after the answer: the change is already kept.
            second.process.kill();
            second.process.waitForFinished();
        }
        Program third({"--image", image});
        PtyClient client(third.terminal);
        QCOMPARE(replyData(client, 0x83, 0x30000), QByteArray(PageSize, char(0xFF)));
        QCOMPARE(replyData(client, 0x83, 0x1000), page('y'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"device.img"});
    }

    void foreignImageIsRefusedAndKept() {
        QTemporaryDir dir;
        const QString image = dir.filePath("notes.txt");
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a memory image");
        file.close();
        const Finished run = runToEnd({"--image", image});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.contains("notes.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a memory image"));
    }

    void switchesFromTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("expected"); // the bytes the client receives
        const QByteArray write = PtyClient::frame(0x82, 0x1000, page('z'));
        const QByteArray accepted = PtyClient::frame(0x82, 0x1000, Accepted);
        const QByteArray checking = PtyClient::frame(0x04, 0);
        QTest::newRow("refusals") << QStringList{"--nak-from", "1"} << write
                                  << PtyClient::frame(0x82, 0x1000, Refused);
        QTest::newRow("silence") << QStringList{"--no-reply-from", "1"} << write << QByteArray();
        QTest::newRow("cut") << QStringList{"--cut-after", "3"} << write << accepted.left(3);
        QByteArray corrupt = accepted;
        corrupt.back() = char(corrupt.back() ^ 0xFF);
        QTest::newRow("bad checksum")
            << QStringList{"--bad-checksum-from", "1"} << write << corrupt;
        QTest::newRow("garbage") << QStringList{"--garbage", "4"} << checking
                                 << QByteArray::fromHex("0055AAFF") +
                                        PtyClient::frame(0x04, 0, Accepted);
        QTest::newRow("delay and pacing") << QStringList{"--delay", "20", "--paced"} << checking
                                          << PtyClient::frame(0x04, 0, Accepted);
        QTest::newRow("short data")
            << QStringList{"--short-data-from", "1", "--short-data-length", "0"} << write
            << PtyClient::frame(0x82, 0x1000);
        QTest::newRow("duplicates")
            << QStringList{"--duplicate-from", "1"} << write << accepted + accepted;
    }
    void switchesFromTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, expected);
        Program program(arguments);
        PtyClient client(program.terminal);
        QVERIFY(client.send(request));
        QCOMPARE(client.readBurst(PageSize + 9, 300).toHex(' '), expected.toHex(' '));
        QVERIFY(program.stop());
    }

    void hangsUpAtRequest() {
        Program program({"--hang-up-at", "2"});
        PtyClient client(program.terminal);
        QCOMPARE(replyData(client, 0x04, 0), Accepted);
        QVERIFY(client.send(PtyClient::frame(0x04, 0)));
        QVERIFY(client.seesHangUp());
        QVERIFY(program.stop());
    }

    void badArgumentsAreExplained_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("mentions");
        QTest::newRow("unknown switch") << QStringList{"--fast"} << QByteArray("fast");
        QTest::newRow("not a number") << QStringList{"--delay", "soon"} << QByteArray("--delay");
        QTest::newRow("request 0") << QStringList{"--nak-from", "0"} << QByteArray("--nak-from");
        QTest::newRow("negative") << QStringList{"--garbage", "-1"} << QByteArray("--garbage");
        QTest::newRow("history too long")
            << QStringList{"--history", "1001"} << QByteArray("--history");
        QTest::newRow("short password")
            << QStringList{"--password", "123"} << QByteArray("--password");
        QTest::newRow("stray argument") << QStringList{"ttyS0"} << QByteArray("ttyS0");
        QTest::newRow("data length over 255")
            << QStringList{"--short-data-from", "1", "--short-data-length", "256"}
            << QByteArray("--short-data-length");
        QTest::newRow("data length alone")
            << QStringList{"--short-data-length", "5"} << QByteArray("--short-data-from");
    }
    void badArgumentsAreExplained() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, mentions);
        const Finished run = runToEnd(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(mentions), run.err.constData());
    }

    void helpListsEverySwitch() {
        const Finished run = runToEnd({"--help"});
        QCOMPARE(run.exitCode, 0);
        for (const char *name :
             {"--image", "--history", "--password", "--no-reply-from", "--bad-checksum-from",
              "--cut-after", "--garbage", "--nak-from", "--delay", "--short-data-from",
              "--short-data-length", "--hang-up-at", "--duplicate-from", "--noise-from",
              "--flood-from", "--dribble", "--forget-writes-from", "--paced"})
            QVERIFY2(run.out.contains(name), name);
    }
};

QTEST_GUILESS_MAIN(TestDevsimProgram)
#include "tst_devsimprogram.moc"
