#include "EventWait.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <unistd.h>

namespace {

qsizetype openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot).size();
}

qsizetype threads() {
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::NoDotAndDotDot).size();
}

// Resident memory in KiB: the second field of /proc/self/statm, in pages.
qint64 residentKiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

#ifdef __SANITIZE_ADDRESS__
constexpr bool ResidentSizeTells = false; // AddressSanitizer holds freed memory back
#else
constexpr bool ResidentSizeTells = true;
#endif

} // namespace

// Opening the port, logging in and closing again, over and over, as a person at the window may:
// nothing of a closed port stays behind.
class TestCycles : public QObject {
    Q_OBJECT
private slots:
    void openLoginCloseLeavesNothingBehind() {
        SimulatedDevice device;
        RecordingOperator op;
        Session session(op);
        QSignalSpy ended(&session, &Session::operationEnded);
        session.cm1().setCommName(device.slavePath());
        const auto cycle = [&](int i) {
            session.cm1().OpenPort();
            session.login(QStringLiteral("7482"));
            const bool done = waitUntil([&] { return !ended.isEmpty(); }, 20000);
            session.cm1().ClosePort();
            QVERIFY2(done, qPrintable(QString::number(i)));
            QCOMPARE(ended.first().at(1).toString(), QStringLiteral("Password confirmed!"));
            ended.clear();
            op.clearHistory();
        };
        // The first cycles set up what lives for the whole run (the event loop's, the link's).
        for (int i = 0; i < 50; ++i)
            cycle(i);
        const qsizetype descriptors = openDescriptors();
        const qsizetype threadCount = threads();
        const qint64 resident = residentKiB();
        for (int i = 50; i < 1000; ++i) {
            cycle(i);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(openDescriptors(), descriptors);
        // A closed port's threads are gone, or about to be.
        QVERIFY2(
            waitUntil([&] { return threads() <= threadCount; }, 5000),
            qPrintable(QStringLiteral("%1 threads, %2 before").arg(threads()).arg(threadCount)));
        // 950 cycles; a leak of even 2 KiB each would show.
        const qint64 growth = residentKiB() - resident;
        if (ResidentSizeTells)
            QVERIFY2(growth < 1024, qPrintable(QStringLiteral("grew %1 KiB").arg(growth)));
        QCOMPARE(device.requestCount(), 1000);
    }
};

QTEST_GUILESS_MAIN(TestCycles)
#include "tst_cycles.moc"
