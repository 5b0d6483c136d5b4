#pragma once

#include <QObject>
#include <QString>

class Operator;

// Every operation ends with a message box: its own success text, or an error text. This shows
// the box and tells the fronts how the operation ended (the command-line front picks its exit
// status from it).
class OperationOutcome : public QObject {
    Q_OBJECT
public:
    explicit OperationOutcome(Operator &op, QObject *parent = nullptr);

    void succeeded(const QString &text);
    void failed(const QString &text, const QString &detail = {});

signals:
    // Emitted after the message box was closed.
    void ended(bool ok, const QString &text);

private:
    Operator &op;
};
