#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>

class OperationOutcome;
class ReceivePath;
class Tstatusbar_ctrl;

// The one way every command object sends a request: build the frame, hand it to the link,
// show the sender's status text, and await the reply under the receive timer. A frame the link
// refuses (port closed) is simply not sent; the receive timer then reports the missing reply.
class RequestSender : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<bool(const char *bytes, quint16 count)>;

    RequestSender(Writer write, Tstatusbar_ctrl &status, ReceivePath &receive);

    // No operation is running: a new one may start. Only one runs at a time.
    bool idle() const;
    OperationOutcome &operation() const;

    // `data` holds the request's data bytes (at most 256).
    void send(uint8_t command, int32_t address, std::span<const uint8_t> data,
              const QString &statusText);
    void send(uint8_t command, int32_t address, const QString &statusText) {
        send(command, address, {}, statusText);
    }

    // The link's opening in use (TComm::connection()); without one it is always 0, unknown.
    void setConnection(std::function<quint64()> f) { connectionOf = std::move(f); }
    quint64 connection() const { return connectionOf ? connectionOf() : 0; }

signals:
    // A frame the link took, whole (for tracing).
    void frameSent(const QByteArray &frame);

private:
    Writer write;
    Tstatusbar_ctrl &status;
    ReceivePath &receive;
    std::function<quint64()> connectionOf;
};
