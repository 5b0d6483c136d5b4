#include "RequestSender.h"

#include "OperationOutcome.h"
#include "ReceivePath.h"
#include "TDataPackage.h"
#include "operator/Tstatusbar_ctrl.h"

#include <memory>

RequestSender::RequestSender(Writer write, Tstatusbar_ctrl &status, ReceivePath &receive)
    : write(std::move(write))
    , status(status)
    , receive(receive) {}

bool RequestSender::idle() const {
    return !receive.operation().running();
}

OperationOutcome &RequestSender::operation() const {
    return receive.operation();
}

void RequestSender::send(uint8_t command, int32_t address, std::span<const uint8_t> data,
                         const QString &statusText) {
    Q_ASSERT(data.size() <= size_t(TDataPackage::MaxData));
    const auto package = std::make_unique<TDataPackage>();
    package->SetCommand(command);
    package->SetLength(int32_t(data.size()));
    package->SetAddress(address);
    if (!data.empty())
        package->SetData(data.data(), int(data.size()));
    package->BuildFrame();
    const auto *bytes = reinterpret_cast<const char *>(package->frame);
    if (write(bytes, quint16(package->FrameSize)))
        emit frameSent(QByteArray(bytes, package->FrameSize));
    status.show(statusText);
    receive.expect(command, address);
}
