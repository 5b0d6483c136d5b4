#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class OperationOutcome;

// The login check: the device's password is the first four bytes of settings page 1. While a
// check is pending, the receive path hands the next settings read reply here instead of to the
// settings transfer.
class Tpasswordverify : public QObject {
    Q_OBJECT
public:
    explicit Tpasswordverify(OperationOutcome &outcome, QObject *parent = nullptr);

    bool Pending() const { return pending; }
    void setPending(bool on) { pending = on; }
    QString DevicePassword() const { return devicePassword; }
    QString TypedPassword() const { return typedPassword; }
    void setTypedPassword(const QString &text) { typedPassword = text; }

    // The reply to the check: the data of settings page 1 (at least four bytes).
    void PasswordReply(const uint8_t *pageData);

    // Equal length and equal letters, whatever their case.
    static bool matches(const QString &device, const QString &typed);

signals:
    // The operation buttons follow this: unlocked after a match, locked after a mismatch.
    void operationsUnlocked(bool unlocked);

private:
    OperationOutcome &outcome;
    bool pending = false;
    QString devicePassword;
    QString typedPassword;
};
