#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

// Runs the event loop until `done` holds or the time runs out; true when it holds. Unlike
// QTRY_*/qWait, which sleep between rounds, the loop blocks on events, so a long chain of
// request and reply runs at the speed of the link.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer check;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    check.start(1);
    loop.exec();
    return done();
}
