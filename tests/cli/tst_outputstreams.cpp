#include "SimulatedDevice.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <unistd.h>

namespace {

constexpr int HistoryAddress = 0x30000;
constexpr int ListAddress = 0x1000;

QByteArray record(const char *head, const QByteArray &executant, const QByteArray &content) {
    QByteArray r = QByteArray::fromHex(QByteArray(head).replace(' ', ""));
    r += executant + QByteArray(22 - executant.size(), '\0');
    return r + content + QByteArray(128 - 34 - content.size(), '\0');
}

// A content byte for byte as the device may hold it: TAB, CR LF, a backslash, quotes, a comma,
// and two bytes beyond ASCII (é, and 0x81, which code page 1252 leaves unassigned).
const QByteArray Awkward("Gate\t1\r\nopen \\ \"x\", y \xE9\x81");

QByteArray log() {
    return record("0C000000 0F0307 070509 01 02", "+49300000000", Awkward) +
           record("0D000000 FFFFFF 0C0000 03 03", "+4930111", "") // its date bytes erased
           + QByteArray(128, '\xFF');
}

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// velmora-cli as a script meets it: its own process, in the western code page. With
// `readerGone` its output and error streams are a pipe nobody reads any more: every write fails,
// and a process that does not ignore SIGPIPE dies of the first.
Run cli(const QStringList &arguments, bool readerGone = false) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    p.setProcessEnvironment(env);
    int fds[2] = {-1, -1};
    if (readerGone) {
        if (::pipe(fds) != 0)
            return {};
        ::close(fds[0]);
        p.setChildProcessModifier([&fds] {
            std::signal(SIGPIPE, SIG_DFL);
            ::dup2(fds[1], STDOUT_FILENO);
            ::dup2(fds[1], STDERR_FILENO);
        });
    }
    p.start(qEnvironmentVariable("VELMORA_CLI_EXE"), arguments);
    p.waitForFinished(60000);
    if (readerGone)
        ::close(fds[1]);
    if (p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

class TestOutputStreams : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("VELMORA_CLI_EXE"))
            QSKIP("VELMORA_CLI_EXE is set by CTest");
    }

    // The output holds the records alone, the messages go to the error stream, and the record
    // whose date was erased is listed. How each format writes a field is RecordOutput's own
    // test; here the json a script would parse, which gives back the device's bytes.
    void historyReadPrintsDataAlone() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(HistoryAddress, log()));
        const Run r = cli({"--port", device.slavePath(), "history", "read", "--format", "json"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out,
                 QStringLiteral(
                     "[\n"
                     "{\"Date\": \"2015-03-07\", \"Time\": \"07:05:09\", \"From\": \"SMS\", "
                     "\"Action\": \"Relay ON\", \"Executant\": \"+49300000000\", \"Content\": "
                     "\"Gate\\t1\\r\\nopen \\\\ \\\"x\\\", y \u00e9\u0081\"},\n"
                     "{\"Date\": \"\", \"Time\": \"12:00:00\", \"From\": \"Telephone\", "
                     "\"Action\": \"Relay OFF\", \"Executant\": \"+4930111\", \"Content\": \"\"}\n"
                     "]\n")
                     .toUtf8());
        QVERIFY2(r.err.contains("Password confirmed!\n"), r.err.constData());
        const QJsonArray records = QJsonDocument::fromJson(r.out).array();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0][u"Content"].toString().toLatin1(), Awkward);
    }

    // What export wrote, show prints as read printed it, without a device.
    void showPrintsAnExportAsReadPrintsTheDevice() {
        SimulatedDevice device;
        QVERIFY(device.writeMemory(HistoryAddress, log()));
        QTemporaryDir dir;
        const Run read = cli({"--port", device.slavePath(), "history", "read"});
        QCOMPARE(read.code, 0);
        for (const char *name : {"h.xlsx", "h.cvs"}) {
            const QString path = dir.filePath(name);
            QCOMPARE(cli({"--port", device.slavePath(), "history", "export", path}).code, 0);
            const Run shown = cli({"history", "show", path});
            QCOMPARE(shown.code, 0);
            QCOMPARE(shown.out, read.out);
        }
    }

    // Nobody left to read what it says: the save still runs to its end.
    void closedOutputsDoNotStopASave() {
        SimulatedDevice device;
        const Run r =
            cli({"--port", device.slavePath(), "--yes", "numbers", "add", "5551234"}, true);
        QCOMPARE(r.code, 0);
        QCOMPARE(device.memoryRange(ListAddress, 7), QByteArray("5551234"));
    }
};

QTEST_GUILESS_MAIN(TestOutputStreams)
#include "tst_outputstreams.moc"
