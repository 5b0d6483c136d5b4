#include "TransferBinding.h"

#include <utility>

TransferBinding::TransferBinding(ReceivePath &receive, Slot slot, Tsend_rec_command &transfer)
    : receive(&receive)
    , slot(slot)
    , before(std::exchange(receive.transfers.*slot, &transfer)) {}

TransferBinding::TransferBinding(TransferBinding &&other) noexcept
    : receive(std::exchange(other.receive, nullptr))
    , slot(other.slot)
    , before(other.before) {}

TransferBinding::~TransferBinding() {
    if (receive)
        receive->transfers.*slot = before;
}
