#pragma once

#include "ReceivePath.h"

#include <QPointer>

// Routes the replies of one memory area to a transfer for as long as the binding lives, then
// hands the area back to the transfer that had it before (none, or a window page's own). The
// bindings of one area end in the reverse order of their start. A binding that outlives its
// receive path changes nothing.
class [[nodiscard]] TransferBinding {
public:
    using Slot = Tsend_rec_command *ReceivePath::Transfers::*;

    TransferBinding(ReceivePath &receive, Slot slot, Tsend_rec_command &transfer);
    TransferBinding(TransferBinding &&other) noexcept;
    TransferBinding(const TransferBinding &) = delete;
    TransferBinding &operator=(const TransferBinding &) = delete;
    TransferBinding &operator=(TransferBinding &&) = delete;
    ~TransferBinding();

private:
    QPointer<ReceivePath> receive;
    Slot slot;
    Tsend_rec_command *before;
};
