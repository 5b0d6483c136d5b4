#pragma once

// What the benchmarks against the simulated device share: an operator that answers every
// question with yes and shows nothing, velmora-devsim started as a process of its own (so that
// the CPU a benchmark measures is the tool's), and the clocks they read.
#include "BenchMain.h"
#include "Session.h"
#include "SilentOperator.h"

#include "protocol/OperationOutcome.h"

#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <time.h>

namespace bench {

// velmora-devsim as built; the first line it prints is the terminal it serves.
class DeviceProcess {
public:
    explicit DeviceProcess(const QStringList &arguments) {
        process.start(QStringLiteral(VELMORA_DEVSIM_EXE), arguments);
        if (process.waitForStarted())
            while (!process.canReadLine() && process.waitForReadyRead(10000)) {
            }
        terminal = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~DeviceProcess() {
        process.terminate();
        process.waitForFinished();
    }

    QString terminal; // empty when the device did not start

private:
    QProcess process;
};

// Opens the session's port on the device: nullptr, or why it did not open.
inline const char *openPort(Session &session, const DeviceProcess &device) {
    if (device.terminal.isEmpty())
        return "velmora-devsim did not start";
    session.cm1().setCommName(device.terminal);
    try {
        session.cm1().OpenPort();
    } catch (const ECommsError &) {
    }
    return session.cm1().PortOpen() ? nullptr : "the device's terminal did not open";
}

// A session with its port open on a velmora-devsim of its own, started with `arguments`.
struct DeviceSession {
    DeviceProcess device;
    SilentOperator op;
    Session session{op};
    const char *problem; // why the port is not open; nullptr when it is

    explicit DeviceSession(const QStringList &arguments)
        : device(arguments)
        , problem(openPort(session, device)) {}
    // True when the port is open; otherwise the benchmark is skipped with the reason.
    bool portOpenOrSkip(benchmark::State &state) const {
        if (problem)
            state.SkipWithError(problem);
        return !problem;
    }
};

// Starts one operation and runs the event loop until the session ends it; true on success.
inline bool runOperation(Session &session, const std::function<void()> &start) {
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&session.outcome(), &OperationOutcome::ended, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });
    start();
    loop.exec();
    return ok;
}

inline double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

} // namespace bench
