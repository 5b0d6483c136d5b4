#pragma once

#include "SimulatedDevice.h"

#include <QString>
#include <QStringList>

// What the velmora-devsim command line asks for.
struct DevsimCommandLine {
    enum class Action { Serve, ShowHelp, Fail };

    Action action = Action::Fail;
    DeviceOptions options; // when serving
    QString text;          // the help text, or what is wrong with the arguments

    // arguments starts with the program name, as QCoreApplication::arguments() does.
    static DevsimCommandLine parse(const QStringList &arguments);
};
