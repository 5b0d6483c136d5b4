#include "ReceiveTimer.h"

#include <algorithm>

ReceiveTimer::ReceiveTimer(QObject *parent)
    : QObject(parent) {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &ReceiveTimer::fire);
}

void ReceiveTimer::Enable() {
    awaited = true;
    if (!enabled)
        scheduleFromNow();
}

void ReceiveTimer::restart() {
    scheduleFromNow();
}

void ReceiveTimer::setInterval(int ms) {
    intervalMs = ms;
    deadline = std::min(deadline, Clock::now() + std::chrono::milliseconds(ms));
    if (timer.isActive() && timer.remainingTime() > ms)
        timer.start(ms);
}

void ReceiveTimer::scheduleFromNow() {
    enabled = true;
    deadline = Clock::now() + std::chrono::milliseconds(intervalMs);
    // A QTimer already running fires no later than the new deadline; fire() reschedules it.
    if (!timer.isActive())
        timer.start(intervalMs);
}

void ReceiveTimer::fire() {
    if (!enabled)
        return;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left > 0) {
        timer.start(int(left));
        return;
    }
    enabled = false;
    awaited = false;
    emit timeout();
}
