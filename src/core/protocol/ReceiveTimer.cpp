#include "ReceiveTimer.h"

#include <algorithm>
#include <time.h>

ReceiveTimer::ReceiveTimer(QObject *parent)
    : QObject(parent) {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &ReceiveTimer::fire);
}

void ReceiveTimer::enable() {
    if (enabled)
        return;
    enabled = true;
    deadline = now() + intervalMs;
    limit = deadline + LongestReplyWireMs;
    // A QTimer already running fires no later than the new deadline; fire() reschedules it.
    if (!scheduled) {
        timer.start(intervalMs);
        scheduled = true;
    }
}

void ReceiveTimer::extend() {
    if (enabled)
        deadline = std::min(now() + intervalMs, limit);
}

void ReceiveTimer::setInterval(int ms) {
    intervalMs = ms;
    const int64_t t = now();
    deadline = std::min(deadline, t + ms);
    limit = std::min(limit, t + ms + LongestReplyWireMs);
    if (scheduled && timer.remainingTime() > ms)
        timer.start(ms);
}

void ReceiveTimer::fire() {
    scheduled = false;
    if (!enabled)
        return;
    const int64_t left = deadline - now();
    if (left > 0) {
        timer.start(int(left));
        scheduled = true;
        return;
    }
    enabled = false;
    emit timeout();
}

int64_t ReceiveTimer::now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}
