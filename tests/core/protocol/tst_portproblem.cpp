#include "PseudoTerminal.h"
#include "protocol/PortProblem.h"
#include "protocol/TComm.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>
#include <cerrno>
#include <unistd.h>

namespace {

// Opens `path` and returns why it failed, empty when it opened.
QString openFailure(const QString &path) {
    TComm comm;
    comm.setCommName(path);
    try {
        comm.OpenPort();
    } catch (const ECommsError &) {
    }
    return comm.OpenFailureReason();
}

} // namespace

class TestPortProblem : public QObject {
    Q_OBJECT
private slots:
    void explainsTheFix_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("EACCES") << EACCES
                                << "Permission denied — add your user to the dialout group: sudo "
                                   "usermod -aG dialout alice, then log in again";
        const QString unplugged =
            "No such device — the adapter is not plugged in (or was unplugged)";
        QTest::newRow("ENOENT") << ENOENT << unplugged;
        QTest::newRow("ENODEV") << ENODEV << unplugged;
        QTest::newRow("ENXIO") << ENXIO << unplugged;
        // Nobody else has the file open: only that it is busy can be told.
        QTest::newRow("EBUSY, holder unknown") << EBUSY << "The port is in use by another program";
        QTest::newRow("EIO") << EIO << "Input/output error";
    }
    void explainsTheFix() {
        QFETCH(int, error);
        QFETCH(QString, text);
        QTemporaryFile file;
        QVERIFY(file.open());
        QCOMPARE(PortProblem::explain(error, file.fileName(), "alice"), text);
    }

    // Another program holds the port locked: the refusal names it.
    void namesTheProgramHoldingThePort() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        QProcess holder;
        holder.start("/usr/bin/flock", {"--no-fork", pty.slavePath(), "sleep", "30"});
        QVERIFY(holder.waitForStarted());
        QTRY_COMPARE(PortProblem::holders(pty.slavePath()).size(), 1);
        QCOMPARE(openFailure(pty.slavePath()),
                 QString("The port is in use by another program: held by PID %1 (sleep)")
                     .arg(holder.processId()));
        holder.kill();
        holder.waitForFinished();
        QVERIFY(PortProblem::holders(pty.slavePath()).isEmpty());
        QVERIFY(openFailure(pty.slavePath()).isEmpty());
    }

    void refusedNodeNamesTheDialoutGroup() {
        if (::geteuid() == 0)
            QSKIP("root opens a node of mode 000; run the tests as a normal user to check this");
        QTemporaryFile node;
        QVERIFY(node.open());
        QVERIFY(QFile::setPermissions(node.fileName(), {}));
        QVERIFY(!PortProblem::mayOpen(node.fileName()));
        const QString reason = openFailure(node.fileName());
        QVERIFY2(reason.startsWith("Permission denied — add your user to the dialout group: sudo "
                                   "usermod -aG dialout ") &&
                     reason.endsWith(", then log in again"),
                 qPrintable(reason));
    }
};

QTEST_GUILESS_MAIN(TestPortProblem)
#include "tst_portproblem.moc"
