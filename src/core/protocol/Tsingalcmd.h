#pragma once

#include "TTemplate.h"

// A request of one frame with no data at address 0 (checking mode, delete history).
class Tsingalcmd : public TTemplate {
public:
    Tsingalcmd(RequestSender &sender, uint8_t code)
        : TTemplate(sender)
        , CommandCode(code) {}

    virtual void Send();

    uint8_t CommandCode;
};
