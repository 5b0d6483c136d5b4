#pragma once

#include "TerminalOperator.h"
#include "protocol/Trecognitionserial.h"

#include <QString>
#include <QStringList>

// velmora-cli: reads the command line, finds the command in the table and runs it against the
// terminal described by the streams.
class CliApp {
public:
    // `ports` is where the ports command looks for the machine's serial ports.
    explicit CliApp(const TerminalOperator::Streams &streams,
                    Trecognitionserial ports = Trecognitionserial());

    // `arguments` starts with the program name. Returns the exit status.
    int run(const QStringList &arguments);
    static QString helpText();

private:
    int usageError(const QString &text);

    TerminalOperator::Streams io;
    Trecognitionserial ports;
};
