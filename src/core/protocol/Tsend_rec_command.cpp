#include "Tsend_rec_command.h"

#include "RequestSender.h"

bool Tsend_rec_command::start(uint16_t pageCount) {
    if (!sender.idle())
        return false;
    PageCount = pageCount;
    PageIndex = 1;
    return true;
}

void Tsend_rec_command::advance(const std::function<void(uint16_t)> &sendPage,
                                const std::function<void()> &finish) {
    if (PageIndex <= PageCount) {
        sendPage(PageIndex);
        ++PageIndex;
    } else if (int(PageIndex) == int(PageCount) + 1) {
        finish();
    }
}
