#include "EventWait.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

enum class Op { SettingsRead, SettingsSave, ListRead, ListSave, HistoryRead, Login, Delete };
enum class Fault {
    NoReply,
    BadChecksum,
    Cut,
    Garbage,
    Refusal,
    ShortPage,
    Slow,
    TooSlow,
    Unplug,
    Noise,
    Flood,
    Dribble,
};

struct Operation {
    const char *name;
    Op op;
    int requests; // of a whole run
    // What each request changes on the device, request i at area + (i - 1) * span; span 0 for
    // the operations that only read.
    int area;
    int span;
    const char *success;
    const char *refusal;
    int readBacks = 0; // the last requests of a save read its pages back
};

const Operation operations[] = {
    {"settings read", Op::SettingsRead, 2, 0, 0, "Basic settings read to PC software success.",
     nullptr},
    {"settings save", Op::SettingsSave, 4, 0, 256, "Basic setting saved success",
     "Basic setting error", 2},
    {"number list read", Op::ListRead, 375, 0x1000, 0,
     "Authorized number list read to PC software success.", nullptr},
    {"number list save", Op::ListSave, 750, 0x1000, 256, "Authorized number list saved success",
     "Number list data error", 375},
    {"history read", Op::HistoryRead, 500, 0x30000, 0, "", nullptr},
    {"login", Op::Login, 1, 0, 0, "Password confirmed!", nullptr},
    {"delete history", Op::Delete, 1, 0x30000, 500 * 256, "Historical data deleted",
     "Historical data delet error"},
};

// The cells are about the outcome, not the length of the wait: the receive timer runs on a short
// interval, a slow reply comes within it and a too slow one after it. One case waits out the real
// 3000 ms. On a machine whose cores are all busy a pseudo-terminal can hold a reply back by
// a hundred milliseconds and more, so the interval leaves a healthy reply that much room.
constexpr int Interval = 1000;
constexpr int SlowMs = Interval / 5;
constexpr int TooSlowMs = 2 * Interval;

const char *const faultNames[] = {"no reply",  "bad checksum",  "cut reply",  "garbage",
                                  "refusal",   "100-byte page", "late",       "too late",
                                  "unplugged", "noise",         "0x23 flood", "dribbled reply"};

// A line that keeps sending: tried at one request of each operation only.
bool chatters(Fault f) {
    return f == Fault::Noise || f == Fault::Flood || f == Fault::Dribble;
}

// Bytes 20 ms apart: a 10-byte acknowledgement is in well within the wait, a 265-byte page is not.
constexpr int DribbleMs = 20;

// Whether the device carried out request k before its reply went wrong: then a written page is
// stored although the tool never saw it acknowledged.
bool deviceActs(Fault f) {
    return f == Fault::BadChecksum || f == Fault::Cut || f == Fault::TooSlow || f == Fault::Dribble;
}

DeviceFaults faultAt(Fault f, int k, bool readReply) {
    switch (f) {
    case Fault::NoReply:
        return {.noReplyFrom = k, .onlyAt = k};
    case Fault::BadChecksum:
        return {.badChecksumFrom = k, .onlyAt = k};
    case Fault::Cut: // a page reply stops inside its data, an acknowledgement before its byte
        return {.cutAfter = readReply ? 130 : 6, .onlyAt = k};
    case Fault::Garbage:
        return {.garbage = 5, .onlyAt = k};
    case Fault::Refusal:
        return {.nakFrom = k, .onlyAt = k};
    case Fault::ShortPage:
        return {.shortDataFrom = k, .shortDataLength = 100, .onlyAt = k};
    case Fault::Slow:
        return {.delayMs = SlowMs, .onlyAt = k};
    case Fault::TooSlow:
        return {.delayMs = TooSlowMs, .onlyAt = k};
    case Fault::Unplug:
        return {.hangUpAt = k};
    case Fault::Noise:
        return {.noiseFrom = k, .onlyAt = k};
    case Fault::Flood:
        return {.floodFrom = k, .onlyAt = k};
    case Fault::Dribble:
        return {.dribbleMs = DribbleMs, .onlyAt = k};
    }
    return {};
}

// The first, a middle and the last request.
QList<int> positions(int requests) {
    if (requests <= 2)
        return requests == 1 ? QList<int>{1} : QList<int>{1, 2};
    return {1, (requests + 1) / 2, requests};
}

// The first address where the images differ, as a failure message; empty when they agree.
QString firstDifference(const QByteArray &actual, const QByteArray &expected) {
    if (actual.size() != expected.size())
        return QStringLiteral("sizes %1 and %2").arg(actual.size()).arg(expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        if (actual[i] != expected[i])
            return QStringLiteral("first difference at 0x%1").arg(i, 0, 16);
    return {};
}

// Every transfer, plugged into the session, with tables of its own.
struct Transfers {
    SettingsTable settings;
    NumberTable numbers;
    HistoryTable history;
    TBasicInf basic;
    TtelephoneSend list;
    THistoryInf records;

    explicit Transfers(Session &s)
        : basic(s, settings)
        , list(s, numbers)
        , records(s, history) {
        s.setBasicTransfer(&basic);
        s.setNumberListTransfer(&list);
        s.setHistoryTransfer(&records);
    }
};

constexpr int Generous = 60000; // a loaded machine may take its time; a good run does not wait
// A fault ends the operation within this: the receive timer, with room for a loaded machine.
constexpr int FaultToEndMs = Interval + 1000;

// VELMORA_MATRIX_PART=i/n keeps every n-th cell from the i-th on (0 <= i < n), so that CTest can
// run the parts side by side; unset, the whole matrix runs.
struct Part {
    int index = 0;
    int count = 1;
};

Part matrixPart() {
    const QStringList p = qEnvironmentVariable("VELMORA_MATRIX_PART").split(u'/');
    Part part;
    if (p.size() == 2 && p[1].toInt() > 0) {
        part.count = p[1].toInt();
        part.index = p[0].toInt() % part.count;
    }
    return part;
}

} // namespace

// Every operation against one fault at one of its requests: the end message it must show, how
// soon, what the device holds afterwards, and that the next operation on the same session works.
class TestFaultMatrix : public QObject {
    Q_OBJECT

    RecordingOperator op;
    Session session{op};
    QSignalSpy ended{&session, &Session::operationEnded};
    std::unique_ptr<Transfers> transfers;
    std::unique_ptr<SimulatedDevice> device;

    // A fresh device whose every writable page differs from what the saves write: a full
    // history, a number list area of 0x5A, and for the settings save a zeroed settings area.
    void plugIn(const Operation &o) {
        DeviceOptions options;
        options.historyCount = 1000;
        device = std::make_unique<SimulatedDevice>(options);
        QVERIFY(device->writeMemory(0x1000, QByteArray(375 * 256, '\x5A')));
        if (o.op == Op::SettingsSave)
            QVERIFY(device->writeMemory(0, QByteArray(512, '\0')));
        session.cm1().setCommName(device->slavePath());
        session.cm1().OpenPort();
    }

    void start(const Operation &o) {
        switch (o.op) {
        case Op::SettingsRead:
            return transfers->basic.StartRead();
        case Op::SettingsSave:
            return transfers->basic.SaveSettings();
        case Op::ListRead:
            return transfers->list.StartRead();
        case Op::ListSave:
            return transfers->list.SaveList();
        case Op::HistoryRead:
            return transfers->records.StartRead();
        case Op::Login:
            return session.login(QStringLiteral("7482"));
        case Op::Delete:
            return session.sendDeleteHistory();
        }
    }

private slots:
    void init() {
        transfers = std::make_unique<Transfers>(session);
        // The next operation's save writes every page again, though the device is known.
        transfers->list.setWriteAllPages(true);
        transfers->basic.setWriteAllPages(true);
        session.receivePath().tmr1().setInterval(Interval);
    }
    void cleanup() {
        // Closed first, so that the device going away is no hang-up for the next cell.
        session.cm1().ClosePort();
        device.reset();
        transfers.reset();
        ended.clear();
        op.clearHistory();
    }

    void faultAtOneRequest_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("k");
        const Part part = matrixPart();
        int cell = 0;
        for (int i = 0; i < int(std::size(operations)); ++i) {
            const Operation &o = operations[i];
            for (int f = 0; f < int(std::size(faultNames)); ++f) {
                // Only writes and commands can be refused; only a page reply can come short.
                if ((Fault(f) == Fault::Refusal && !o.refusal) ||
                    (Fault(f) == Fault::ShortPage && o.refusal))
                    continue;
                const QList<int> at = positions(o.requests);
                for (int k : at)
                    if ((!chatters(Fault(f)) || k == at[at.size() / 2]) &&
                        cell++ % part.count == part.index)
                        QTest::addRow("%s, %s at %d", o.name, faultNames[f], k) << i << f << k;
            }
        }
    }
    void faultAtOneRequest() {
        QFETCH(int, operation);
        QFETCH(int, fault);
        QFETCH(int, k);
        const Operation &o = operations[operation];
        const Fault f = Fault(fault);
        // The password check needs only the first 4 bytes of its page.
        // A read-back page is no write: the device does not refuse it.
        const bool readBack = k > o.requests - o.readBacks;
        const bool succeeds = f == Fault::Garbage || f == Fault::Slow ||
                              (f == Fault::ShortPage && o.op == Op::Login) ||
                              (f == Fault::Dribble && o.refusal && !readBack) ||
                              (f == Fault::Refusal && readBack);
        const QString expected = succeeds              ? QString::fromUtf8(o.success)
                                 : f == Fault::Refusal ? QString::fromUtf8(o.refusal)
                                 : f == Fault::Unplug  ? QStringLiteral("COM Port error")
                                                       : QStringLiteral("Receive timeout");

        plugIn(o);
        const QByteArray before = device->memory();
        device->setFaults(faultAt(f, k, o.span == 0 || readBack));
        start(o);
        QVERIFY(waitUntil([&] { return device->requestCount() >= k; }, Generous));
        QElapsedTimer sinceFault;
        sinceFault.start();
        QVERIFY(waitUntil([&] { return !ended.isEmpty(); }, Generous));
        const qint64 endedAfter = sinceFault.elapsed();
        QCOMPARE(ended[0].at(1).toString(), expected);
        QCOMPARE(ended[0].at(0).toBool(), succeeds);
        // A fault ends the operation promptly; a run that gets through may take its time.
        if (!succeeds)
            QVERIFY2(endedAfter <= FaultToEndMs, qPrintable(QString::number(endedAfter)));
        if (f == Fault::Unplug)
            QCOMPARE(op.messages.last().detail, QStringLiteral("The device was disconnected"));
        if (f == Fault::TooSlow) // the late reply comes, and must change nothing
            QTest::qWait(std::max(0, int(TooSlowMs + 200 - sinceFault.elapsed())));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(device->requestCount(), succeeds ? o.requests : k);
        const QByteArray afterFault = device->memory();

        // The next operation on the same session: a device plugged in again after an unplug.
        if (f == Fault::Unplug)
            plugIn(o);
        else
            device->setFaults({});
        // The run that must succeed waits as the tool does.
        session.receivePath().tmr1().setInterval(ReceiveTimer::DefaultInterval);
        start(o);
        QVERIFY(waitUntil([&] { return ended.size() == 2; }, Generous));
        QCOMPARE(ended[1].at(1).toString(), QString::fromUtf8(o.success));
        QVERIFY(ended[1].at(0).toBool());

        // Exactly the requests carried out before the end changed the device; the healthy run
        // shows what each of them writes.
        const QByteArray healthy = device->memory();
        QByteArray image = before;
        if (o.span > 0) {
            const int done = std::min(o.requests - o.readBacks, succeeds        ? o.requests
                                                                : deviceActs(f) ? k
                                                                                : k - 1);
            image.replace(o.area, done * o.span, healthy.mid(o.area, done * o.span));
            for (int i = 0; i < o.requests - o.readBacks; ++i) {
                const int at = o.area + i * o.span;
                QVERIFY(healthy.mid(at, o.span) != before.mid(at, o.span));
            }
        }
        const QString difference = firstDifference(afterFault, image);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // The receive timer as the tool runs it: a reply that never comes ends a number list read in
    // the middle after 3 s, not sooner.
    void realTimerEndsTheWait() {
        if (matrixPart().index != 0)
            QSKIP("runs in the first part");
        const Operation &o = operations[2];
        session.receivePath().tmr1().setInterval(ReceiveTimer::DefaultInterval);
        plugIn(o);
        device->setFaults(faultAt(Fault::NoReply, 188, false));
        start(o);
        QVERIFY(waitUntil([&] { return device->requestCount() >= 188; }, Generous));
        QElapsedTimer sinceFault;
        sinceFault.start();
        QVERIFY(waitUntil([&] { return !ended.isEmpty(); }, Generous));
        const qint64 endedAfter = sinceFault.elapsed();
        QCOMPARE(ended[0].at(1).toString(), QStringLiteral("Receive timeout"));
        QVERIFY2(endedAfter >= 2900 && endedAfter <= 3500, qPrintable(QString::number(endedAfter)));
    }
};

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
