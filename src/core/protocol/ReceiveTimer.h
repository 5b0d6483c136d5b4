#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

// The receive timer tmr1: reports a device that stops answering. Each request enables it
// (without restarting a count already under way); the receive path stops it at every byte and
// restarts it while the reply is still awaited, so only the awaited reply or the firing ends the
// wait.
//
// Stopping and restarting happen for every received byte, so they only note a deadline on a
// coarse clock (a few milliseconds of resolution, a fraction of the cost of a precise reading);
// the underlying QTimer is rescheduled when it fires early rather than on every byte.
class ReceiveTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultInterval = 3000;

    explicit ReceiveTimer(QObject *parent = nullptr);

    void Enable();
    void Disable() { enabled = false; }
    void restart();

    bool Enabled() const { return enabled; }
    int interval() const { return intervalMs; }
    // Tests shorten the interval; a count under way ends no later than the new interval.
    void setInterval(int ms);

signals:
    void timeout();

private:
    // Milliseconds on the coarse monotonic clock.
    static int64_t now();
    void fire();
    void scheduleFromNow();

    QTimer timer;
    bool scheduled = false; // `timer` runs; kept here, as the question comes once per byte
    int intervalMs = DefaultInterval;
    bool enabled = false;
    int64_t deadline = 0;
};
