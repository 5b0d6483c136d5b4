#pragma once

#include <cstdint>

class RequestSender;

// Root of the command objects: the way to send, and the last reply routed to the object.
class TTemplate {
public:
    explicit TTemplate(RequestSender &sender)
        : sender(sender) {}
    virtual ~TTemplate() = default;
    TTemplate(const TTemplate &) = delete;
    TTemplate &operator=(const TTemplate &) = delete;

    int32_t ReplyAddress = 0;
    uint8_t ReplyData[256] = {}; // the first N bytes of the reply are meaningful

protected:
    RequestSender &sender;
};
