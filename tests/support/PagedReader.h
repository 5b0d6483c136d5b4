#pragma once

#include "protocol/OperationOutcome.h"
#include "protocol/RequestSender.h"
#include "protocol/Tsend_rec_command.h"

#include <QList>
#include <QString>

// A transfer for tests: reads pages at firstPageAddress + 256 × (p − 1) along the shared chain,
// records what is routed to it, and counts how often it finished or was asked to continue a
// write.
class PagedReader : public Tsend_rec_command {
public:
    PagedReader(RequestSender &sender, int32_t firstPageAddress,
                const QString &statusText = QStringLiteral("Reading"))
        : Tsend_rec_command(sender)
        , firstPage(firstPageAddress)
        , text(statusText) {}

    void startRead(uint16_t pages) {
        if (start(pages))
            RequestNext();
    }
    void RequestNext() override {
        advance([this](uint16_t p) { sender.send(0x83, firstPage + 256 * (p - 1), text); },
                [this] {
                    ++finished;
                    sender.operation().completed();
                });
    }
    void SendNext() override { ++sendNextCalls; }
    void DecodeReply() override {
        replyAddresses << ReplyAddress;
        firstBytes << ReplyData[0];
        if (continueOnReply)
            RequestNext();
    }

    bool continueOnReply = true;
    int finished = 0;
    int sendNextCalls = 0;
    QList<int32_t> replyAddresses;
    QList<uint8_t> firstBytes;

private:
    int32_t firstPage;
    QString text;
};
