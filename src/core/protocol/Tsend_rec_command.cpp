#include "Tsend_rec_command.h"

void Tsend_rec_command::advance(const std::function<void(uint16_t)> &sendPage,
                                const std::function<void()> &finish) {
    if (PageIndex <= PageCount) {
        sendPage(PageIndex);
        ++PageIndex;
    } else if (int(PageIndex) == int(PageCount) + 1) {
        finish();
    }
}
