#pragma once

#include <QObject>
#include <QString>

class Operator;

// One operation at a time: an operation runs from its first request until it ends with a message
// box, its own success text or an error text. This shows the box, and tells the fronts when an
// operation starts and how it ended (the window locks its buttons meanwhile; the command-line
// front picks its exit status from the end).
class OperationOutcome : public QObject {
    Q_OBJECT
public:
    explicit OperationOutcome(Operator &op, QObject *parent = nullptr);

    // A request went out: the operation it belongs to runs until its end.
    void begin();
    bool running() const { return isRunning; }

    void succeeded(const QString &text);
    void failed(const QString &text, const QString &detail = {});
    // An operation whose end shows no message of its own (it shows its result instead).
    void completed() { end(true, QString()); }

signals:
    void runningChanged(bool running);
    // Emitted after the message box was closed.
    void ended(bool ok, const QString &text);

private:
    void end(bool ok, const QString &text);

    Operator &op;
    bool isRunning = false;
};
