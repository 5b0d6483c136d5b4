#include "OperationOutcome.h"

#include "operator/Operator.h"

OperationOutcome::OperationOutcome(Operator &op, QObject *parent)
    : QObject(parent)
    , op(op) {}

void OperationOutcome::succeeded(const QString &text) {
    op.message(text);
    emit ended(true, text);
}

void OperationOutcome::failed(const QString &text, const QString &detail) {
    op.message(text, QString(), Operator::Icon::None, detail);
    emit ended(false, text);
}
