#pragma once

#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"

#include <QList>
#include <QPair>
#include <QSignalSpy>
#include <QString>
#include <functional>

// A session with its port open on a simulated device, and every operation end it saw.
struct DeviceBench {
    SimulatedDevice device;
    RecordingOperator op;
    Session session{op};
    QSignalSpy ended{&session, &Session::operationEnded};

    explicit DeviceBench(const DeviceOptions &options = {});

    // Starts one operation, the operator's history cleared first, and runs it to its end; true
    // when it ended in success, and with `success` as its text when that is given.
    bool run(const std::function<void()> &operation, const QString &success = {});
    // The (ok, text) of the operation ends seen so far.
    QList<QPair<bool, QString>> outcomes() const;
};
