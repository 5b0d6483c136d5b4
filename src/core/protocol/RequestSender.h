#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>

class ReceiveTimer;
class Tstatusbar_ctrl;

// The one way every command object sends a request: build the frame, hand it to the link,
// show the sender's status text, enable the receive timer. A frame the link refuses (port
// closed) is simply not sent; the receive timer then reports the missing reply.
class RequestSender {
public:
    using Writer = std::function<bool(const char *bytes, quint16 count)>;

    RequestSender(Writer write, Tstatusbar_ctrl &status, ReceiveTimer &tmr1);

    // `data` holds the request's data bytes (at most 256).
    void send(uint8_t command, int32_t address, std::span<const uint8_t> data,
              const QString &statusText);
    void send(uint8_t command, int32_t address, const QString &statusText) {
        send(command, address, {}, statusText);
    }

private:
    Writer write;
    Tstatusbar_ctrl &status;
    ReceiveTimer &tmr1;
};
