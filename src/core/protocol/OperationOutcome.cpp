#include "OperationOutcome.h"

#include "operator/Operator.h"

OperationOutcome::OperationOutcome(Operator &op, QObject *parent)
    : QObject(parent)
    , op(op) {}

void OperationOutcome::begin() {
    if (isRunning)
        return;
    isRunning = true;
    emit runningChanged(true);
}

void OperationOutcome::succeeded(const QString &text) {
    op.message(text);
    end(true, text);
}

void OperationOutcome::failed(const QString &text, const QString &detail) {
    op.message(text, QString(), Operator::Icon::None, detail);
    end(false, text);
}

void OperationOutcome::end(bool ok, const QString &text) {
    if (isRunning) {
        isRunning = false;
        emit runningChanged(false);
    }
    emit ended(ok, text);
}
