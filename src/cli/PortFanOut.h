#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Runs one child process per serial port, all at once, and waits for every one to end. Each
// child has a port to itself, so one that fails, hangs up or crashes leaves the others alone.
class PortFanOut {
public:
    struct Result {
        QString port;
        bool ok = false; // the child ended normally with status 0
        double seconds = 0;
    };
    using Arguments = std::function<QStringList(const QString &port)>;
    // Each line a child writes, on either stream, as it comes.
    using Log = std::function<void(const QString &port, const QString &line)>;

    PortFanOut(QString program, Arguments arguments, Log log);
    // What every child reads on its standard input, which then ends; without it, the input ends
    // at once.
    void setInput(QByteArray bytes) { input = std::move(bytes); }

    // One result per port, in the order given.
    QList<Result> run(const QStringList &ports);

private:
    QString program;
    Arguments arguments;
    Log log;
    QByteArray input;
};
