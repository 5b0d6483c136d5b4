#include "Tpasswordverify.h"

#include "OperationOutcome.h"

Tpasswordverify::Tpasswordverify(OperationOutcome &outcome, QObject *parent)
    : QObject(parent)
    , outcome(outcome) {}

void Tpasswordverify::PasswordReply(const uint8_t *pageData) {
    // Each byte is one character of the same code.
    devicePassword.clear();
    for (int i = 0; i < 4; ++i)
        devicePassword += QChar(pageData[i]);
    if (matches(devicePassword, typedPassword)) {
        outcome.succeeded(QStringLiteral("Password confirmed!"));
        emit operationsUnlocked(true);
    } else {
        outcome.failed(QStringLiteral("Password Error!"));
        emit operationsUnlocked(false);
    }
    pending = false;
}

bool Tpasswordverify::matches(const QString &device, const QString &typed) {
    return device.size() == typed.size() &&
           QString::compare(device, typed, Qt::CaseInsensitive) == 0;
}
