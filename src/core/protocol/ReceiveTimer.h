#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

// The receive timer tmr1: reports a device that stops answering. Each request enables it
// (without restarting a count already under way). Only a byte that makes progress on a frame
// that can still be the awaited reply extends the wait, by one interval, and never past the
// request's own limit: one interval plus the wire time of the longest reply. A line that keeps
// sending anything else, or the awaited reply dribbled out too slowly, ends in a timeout.
//
// Extending happens for every received byte of a reply, so it only notes a deadline on a coarse
// clock (a few milliseconds of resolution, a fraction of the cost of a precise reading); the
// underlying QTimer is rescheduled when it fires early rather than on every byte.
class ReceiveTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultInterval = 3000;
    // The longest reply, a 256-byte page in a frame of 265 bytes, at 115200 baud with 10 bits a
    // byte, rounded up.
    static constexpr int LongestReplyWireMs = 24;

    explicit ReceiveTimer(QObject *parent = nullptr);

    void enable();
    void disable() { enabled = false; }
    // A byte of the awaited reply came: the rest of it gets an interval, within the limit.
    void extend();

    bool isEnabled() const { return enabled; }
    int interval() const { return intervalMs; }
    // Tests shorten the interval; a count under way ends no later than the new interval, and
    // its limit no later than the new one.
    void setInterval(int ms);

signals:
    void timeout();

private:
    // Milliseconds on the coarse monotonic clock.
    static int64_t now();
    void fire();

    QTimer timer;
    bool scheduled = false; // `timer` runs; kept here, as the question comes once per byte
    int intervalMs = DefaultInterval;
    bool enabled = false;
    int64_t deadline = 0;
    int64_t limit = 0; // the request's absolute end
};
