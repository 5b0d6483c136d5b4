#pragma once

#include "TerminalOperator.h"

#include <QString>
#include <QStringList>

// velmora-cli: reads the command line, finds the command in the table and runs it against the
// terminal described by the streams.
class CliApp {
public:
    explicit CliApp(const TerminalOperator::Streams &streams);

    // `arguments` starts with the program name. Returns the exit status.
    int run(const QStringList &arguments);
    static QString helpText();

private:
    int usageError(const QString &text);

    TerminalOperator::Streams io;
};
