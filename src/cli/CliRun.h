#pragma once

#include "protocol/Trecognitionserial.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>

class FrameTrace;
class Session;
class TerminalOperator;

// What a command works with: its arguments and options, the terminal, and the device session,
// created on first use. It also runs an operation to its end.
class CliRun {
public:
    struct Outcome {
        bool ok = false;
        QString text;
    };

    CliRun(const QCommandLineParser &parser, QStringList arguments, QString port, QString password,
           TerminalOperator &op, QTextStream &out);
    ~CliRun();

    const QStringList &arguments() const { return args; }
    bool isSet(const QString &option) const { return parser.isSet(option); }
    QString value(const QString &option) const { return parser.value(option); }
    QTextStream &out() { return output; }
    TerminalOperator &person() { return op; }
    // What login() checks: --password, or the line --password-stdin read.
    const QString &devicePassword() const { return password; }
    Session &session();
    // The machine's serial ports, as the ports command lists them.
    const Trecognitionserial &portList() const { return ports; }
    void setPortList(const Trecognitionserial &list) { ports = list; }
    // Every frame of the session goes to `err` as a line of its own (--trace).
    void traceFramesTo(QTextStream &err);

    // Opens --port; any failure shows "COM Port error" with the reason beneath it.
    bool openPort();
    // Opens the port and checks --password against the device, once a run: a command of several
    // steps logs in for all of them (a profile it saves may change the password on the way).
    Outcome login();
    // Starts an operation and waits until it ends with its message. Once a request is out the
    // session always ends it (its reply, "Receive timeout", or a hang-up); a start that sends
    // nothing (a question refused) ends as a failure at once.
    Outcome await(const std::function<void()> &start);

private:
    const QCommandLineParser &parser;
    QStringList args;
    QString port;
    QString password;
    TerminalOperator &op;
    QTextStream &output;
    QTextStream *traceStream = nullptr;
    bool loggedIn = false;
    Trecognitionserial ports;
    std::unique_ptr<FrameTrace> trace;
    std::unique_ptr<Session> deviceSession;
};
