#pragma once

#include "TTemplate.h"

#include <functional>

// Base of the paged transfers. A transfer of PageCount pages is a chain: send page PageIndex and
// count it; each reply calls the continuation again; once PageIndex has passed PageCount the
// transfer finishes, and any further call does nothing.
class Tsend_rec_command : public TTemplate {
public:
    using TTemplate::TTemplate;

    // Continuation of a read: the next read request, or the end of the read.
    virtual void RequestNext() = 0;
    // Continuation of a write, called when the device confirms a page. An area the tool only
    // reads never gets a write reply routed to it, so by default there is nothing to send.
    virtual void SendNext() {}
    // Takes the read reply now in ReplyAddress and ReplyData.
    virtual void DecodeReply() = 0;

    uint16_t PageCount = 0;
    uint16_t PageIndex = 0;

protected:
    // The start of a chain: PageCount pages from page 1. False, changing nothing, while another
    // operation is running: one operation at a time.
    [[nodiscard]] bool start(uint16_t pageCount);
    // One step of a chain: sendPage(PageIndex) and count it, or finish() right after the last.
    void advance(const std::function<void(uint16_t page)> &sendPage,
                 const std::function<void()> &finish);
};
