#include "PseudoTerminal.h"
#include "protocol/TComm.h"

#include <QDir>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <csignal>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>

namespace {

// Everything a link handed to OnReceiveData, call by call.
struct Received {
    QByteArray bytes;
    QList<int> callSizes;

    void attach(TComm &comm) {
        QObject::connect(&comm, &TComm::OnReceiveData,
                         [this](TComm *, const char *buffer, quint16 length) {
                             bytes.append(buffer, length);
                             callSizes << length;
                         });
    }
};

int entriesIn(const char *dir) {
    return int(
        QDir(QString::fromLatin1(dir)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

QByteArray pattern(qsizetype size, quint32 seed) {
    QByteArray out(size, Qt::Uninitialized);
    QRandomGenerator rng(seed);
    for (char &c : out)
        c = char(rng.generate());
    return out;
}

// A plain fork and exec: QProcess starts children by a raw clone that ThreadSanitizer's runtime
// cannot follow, and this suite also runs under it.
int exitCodeOf(const QList<QByteArray> &command) {
    QList<char *> argv;
    for (const QByteArray &arg : command)
        argv << const_cast<char *>(arg.constData());
    argv << nullptr;
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void openOn(TComm &comm, const PseudoTerminal &pty) {
    comm.setCommName(pty.slavePath());
    comm.setBaudRate(115200);
    comm.OpenPort();
}

} // namespace

class TestComm : public QObject {
    Q_OBJECT
private slots:
    void receivedFrameArrivesOneBytePerCall() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        TComm comm;
        Received rx;
        rx.attach(comm);
        openOn(comm, pty);
        QVERIFY(comm.PortOpen());

        const QByteArray frame = QByteArray::fromHex("238300000000000000");
        QVERIFY(pty.writeAll(frame));
        QTRY_COMPARE(rx.bytes.size(), frame.size());
        QCOMPARE(rx.bytes, frame);
        QCOMPARE(rx.callSizes, QList<int>(9, 1));
    }

    void writesLeaveInOrderAndWhole() {
        PseudoTerminal pty;
        TComm comm;
        openOn(comm, pty);
        const QByteArray first = pattern(265, 1);
        const QByteArray second = QByteArray::fromHex("230400000000000004");
        QVERIFY(comm.WriteData(first.constData(), quint16(first.size())));
        QVERIFY(comm.WriteData(second.constData(), quint16(second.size())));
        QCOMPARE(pty.read(first.size() + second.size()), first + second);
    }

    void writeDataRefused() {
        PseudoTerminal pty;
        TComm comm;
        const char byte = 0x23;
        QVERIFY(!comm.WriteData(&byte, 1));

        openOn(comm, pty);
        QVERIFY(!comm.WriteData(&byte, 0));
        QVERIFY(pty.read(1, 200).isEmpty());

        comm.ClosePort();
        QVERIFY(!comm.WriteData(&byte, 1));
    }

    void raisedOpenFailures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint32>("baud");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing path")
            << "/dev/ttyNoSuchPort7" << 115200 << "Error opening serial port"
            << "No such device — the adapter is not plugged in (or was unplugged)";
        QTest::newRow("missing bare name")
            << "ttyNoSuchPort7" << 115200 << "Error opening serial port"
            << "No such device — the adapter is not plugged in (or was unplugged)";
        QTest::newRow("empty name") << "" << 115200 << "Error opening serial port"
                                    << "";
        QTest::newRow("unsupported speed") << "<pty>" << 12345 << "Cannot setup comm buffer"
                                           << "";
    }
    void raisedOpenFailures() {
        QFETCH(QString, name);
        QFETCH(qint32, baud);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        PseudoTerminal pty;
        const int fdsBefore = entriesIn("/proc/self/fd");
        TComm comm;
        comm.setCommName(name == "<pty>" ? pty.slavePath() : name);
        comm.setBaudRate(baud);
        QString raised;
        try {
            comm.OpenPort();
        } catch (const ECommsError &e) {
            raised = e.message();
        }
        QCOMPARE(raised, text);
        QCOMPARE(comm.PortOpenError(), text);
        QVERIFY(!comm.PortOpen());
        QVERIFY(!comm.OpenFailureReason().isEmpty());
        if (!reason.isEmpty())
            QCOMPARE(comm.OpenFailureReason(), reason);
        QCOMPARE(entriesIn("/proc/self/fd"), fdsBefore);
    }

    void regularFileIsNotACommHandle() {
        QTemporaryFile file;
        QVERIFY(file.open());
        const int fdsBefore = entriesIn("/proc/self/fd");
        TComm comm;
        comm.setCommName(file.fileName());
        comm.OpenPort(); // must not raise
        QCOMPARE(comm.PortOpenError(), QStringLiteral("File handle is not a comm handle "));
        QVERIFY(!comm.PortOpen());
        QCOMPARE(entriesIn("/proc/self/fd"), fdsBefore);
    }

    void secondOpenLeavesAlreadyOpened() {
        PseudoTerminal pty;
        TComm comm;
        Received rx;
        rx.attach(comm);
        openOn(comm, pty);
        comm.OpenPort();
        QCOMPARE(comm.PortOpenError(), QStringLiteral("This serial port already opened"));
        QVERIFY(comm.PortOpen());
        QVERIFY(pty.writeAll("ok"));
        QTRY_COMPARE(rx.bytes, QByteArray("ok"));
    }

    void closeOnClosedPortOnlyClearsError() {
        TComm comm;
        comm.setPortOpenError(QStringLiteral("Error opening serial port"));
        comm.ClosePort();
        QVERIFY(comm.PortOpenError().isEmpty());
        QVERIFY(!comm.PortOpen());
    }

    void portIsHeldExclusively() {
        PseudoTerminal pty;
        TComm first;
        openOn(first, pty);
        QVERIFY(first.PortOpen());

        TComm second;
        second.setCommName(pty.slavePath());
        QVERIFY_THROWS_EXCEPTION(ECommsError, second.OpenPort());
        QCOMPARE(second.PortOpenError(), QStringLiteral("Error opening serial port"));
        QCOMPARE(second.OpenFailureReason(),
                 QStringLiteral("The port is in use by another program"));

        // Another process cannot take the lock either, root or not.
        QCOMPARE(exitCodeOf({"/usr/bin/flock", "-n", pty.slavePath().toLocal8Bit(), "true"}), 1);

        first.ClosePort();
        second.OpenPort();
        QVERIFY(second.PortOpen());
    }

    void portHeldByAnotherProcessIsRefused() {
        PseudoTerminal pty;
        const QByteArray path = pty.slavePath().toLocal8Bit();
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Only async-signal-safe calls here: this is a copy of a threaded process.
            const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
            const char ok = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? 1 : 0;
            if (::write(ready[1], &ok, 1) == 1)
                ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char ok = 0;
        const bool reported = ::read(ready[0], &ok, 1) == 1;
        ::close(ready[0]);
        TComm comm;
        comm.setCommName(pty.slavePath());
        bool raised = false;
        try {
            comm.OpenPort();
        } catch (const ECommsError &) {
            raised = true;
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY(reported && ok == 1);
        QVERIFY(raised);
        QVERIFY(!comm.PortOpen());
        comm.OpenPort();
        QVERIFY(comm.PortOpen());
    }

    void inputLenLimits() {
        TComm comm;
        comm.setInputLen(0);
        QCOMPARE(comm.InputLen(), quint16(2048));
        comm.setInputLen(16);
        comm.setInputLen(2049);
        QCOMPARE(comm.InputLen(), quint16(16));
        comm.setInBufferSize(0);
        QCOMPARE(comm.InBufferSize(), quint16(1));
    }

    void deliveryRespectsInputLen_data() {
        QTest::addColumn<int>("inputLen");
        QTest::newRow("one") << 1;
        QTest::newRow("seven") << 7;
        QTest::newRow("whole buffer") << 0;
    }
    void deliveryRespectsInputLen() {
        QFETCH(int, inputLen);
        PseudoTerminal pty;
        TComm comm;
        comm.setInBufferSize(512);
        comm.setInputLen(quint16(inputLen));
        Received rx;
        rx.attach(comm);
        openOn(comm, pty);
        const QByteArray data = pattern(5000, 2);
        QVERIFY(pty.writeAll(data));
        QTRY_COMPARE(rx.bytes.size(), data.size());
        QCOMPARE(rx.bytes, data);
        const int limit = inputLen == 0 ? 512 : inputLen;
        for (int size : rx.callSizes)
            QVERIFY2(size >= 1 && size <= limit, qPrintable(QString::number(size)));
    }

    void megabyteEachWay() {
        PseudoTerminal pty;
        TComm comm;
        Received rx;
        rx.attach(comm);
        openOn(comm, pty);

        const QByteArray in = pattern(1 << 20, 3);
        QVERIFY(pty.writeAll(in, 60000));
        QTRY_COMPARE_WITH_TIMEOUT(rx.bytes.size(), in.size(), 60000);
        QVERIFY(rx.bytes == in);

        const QByteArray out = pattern(1 << 20, 4);
        for (qsizetype at = 0; at < out.size(); at += 65000) {
            const qsizetype n = std::min<qsizetype>(65000, out.size() - at);
            QVERIFY(comm.WriteData(out.constData() + at, quint16(n)));
        }
        const QByteArray got = pty.read(out.size(), 60000);
        QCOMPARE(got.size(), out.size());
        QVERIFY(got == out);
    }

    void nestedEventLoopKeepsOrder() {
        // A handler that shows a modal box runs the event loop; bytes arriving meanwhile must
        // still come out once each and in order.
        PseudoTerminal pty;
        TComm comm;
        QByteArray got;
        bool nested = false;
        connect(&comm, &TComm::OnReceiveData, [&](TComm *, const char *buffer, quint16 length) {
            got.append(buffer, length);
            if (nested)
                return;
            nested = true;
            QVERIFY(pty.writeAll("CDEF"));
            QEventLoop loop;
            QDeadlineTimer deadline(5000);
            while (got.size() < 6 && !deadline.hasExpired())
                loop.processEvents(QEventLoop::AllEvents, 20);
        });
        openOn(comm, pty);
        QVERIFY(pty.writeAll("AB"));
        QTRY_COMPARE(got, QByteArray("ABCDEF"));
        QTest::qWait(50);
        QCOMPARE(got, QByteArray("ABCDEF"));
    }

    void openCloseCyclesLeakNothing() {
        PseudoTerminal pty;
        TComm comm;
        Received rx;
        rx.attach(comm);
        openOn(comm, pty);
        comm.ClosePort();
        const int fds = entriesIn("/proc/self/fd");
        const int threads = entriesIn("/proc/self/task");
        for (int i = 0; i < 100; ++i) {
            comm.OpenPort();
            QVERIFY(comm.PortOpen());
            const char byte = char(i);
            QVERIFY(comm.WriteData(&byte, 1));
            QCOMPARE(pty.read(1), QByteArray(1, byte));
            comm.ClosePort();
            QVERIFY(!comm.PortOpen());
        }
        QCOMPARE(entriesIn("/proc/self/fd"), fds);
        QTRY_COMPARE(entriesIn("/proc/self/task"), threads);

        // Still a working link after all that.
        comm.OpenPort();
        QVERIFY(pty.writeAll("z"));
        QTRY_COMPARE(rx.bytes, QByteArray("z"));
    }

    void destructorReleasesPort() {
        PseudoTerminal pty;
        {
            TComm comm;
            openOn(comm, pty);
            QVERIFY(comm.PortOpen());
        }
        TComm again;
        openOn(again, pty);
        QVERIFY(again.PortOpen());
    }

    void hangupEndsReaderOnce() {
        PseudoTerminal pty;
        TComm comm;
        int hangups = 0;
        connect(&comm, &TComm::OnRequestHangup, [&] { ++hangups; });
        const int threads = entriesIn("/proc/self/task");
        openOn(comm, pty);
        pty.closeMaster();
        QTRY_COMPARE(hangups, 1);
        // The reader is gone, not spinning; the writer waits for work or the close signal.
        QTRY_COMPARE(entriesIn("/proc/self/task"), threads + 1);
        const char byte = 1;
        comm.WriteData(&byte, 1);
        QTest::qWait(100);
        QCOMPARE(hangups, 1);
        comm.ClosePort();
        QVERIFY(!comm.PortOpen());
        QTRY_COMPARE(entriesIn("/proc/self/task"), threads);
    }

    void lineSettingsFollowProperties() {
        PseudoTerminal pty;
        TComm comm;
        openOn(comm, pty);
        // The master side reports the slave's settings.
        termios t{};
        QCOMPARE(::tcgetattr(pty.master(), &t), 0);
        QCOMPARE(::cfgetospeed(&t), speed_t(B115200));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(t.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
        QCOMPARE(t.c_iflag & (IXON | IXOFF | ICRNL), tcflag_t(0));

        // A change while open applies at once (a pseudo-terminal always keeps 8 bits, no parity).
        comm.setBaudRate(9600);
        comm.setStopBits(TComm::StopBitsKind::_2);
        comm.setInx_XonXoffFlow(true);
        QCOMPARE(::tcgetattr(pty.master(), &t), 0);
        QCOMPARE(::cfgetospeed(&t), speed_t(B9600));
        QCOMPARE(t.c_cflag & CSTOPB, tcflag_t(CSTOPB));
        QCOMPARE(t.c_iflag & (IXON | IXOFF), tcflag_t(IXOFF));
    }

    void commPortRenames() {
        TComm comm;
        comm.setCommPort(3);
        QCOMPARE(comm.CommName(), QStringLiteral("COM3"));
        comm.setCommName(QStringLiteral("ttyUSB0"));
        comm.setCommPort(0);
        QCOMPARE(comm.CommName(), QStringLiteral("ttyUSB0"));
    }
};

QTEST_GUILESS_MAIN(TestComm)
#include "tst_comm.moc"
