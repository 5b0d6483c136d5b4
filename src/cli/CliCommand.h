#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <functional>

class CliRun;

// Exit statuses of velmora-cli.
enum CliExit {
    ExitSuccess = 0, // the operation ended with its success message
    ExitFailure = 1, // it ended with an error message, "Receive timeout", or never ran
    ExitUsage = 2,   // the command line was wrong
};

// One operation of the command-line front: its name, what --help says about it, and how it
// runs. A new operation is one unit that returns one of these, listed in commandTable().
struct CliCommand {
    QString name;
    QString arguments; // its own positional arguments as --help shows them, e.g. "NAME VALUE"
    QString summary;
    int minArguments = 0;
    int maxArguments = 0;
    bool needsPort = true;
    QList<QCommandLineOption> options; // options only this command accepts
    std::function<int(CliRun &)> run;
};
