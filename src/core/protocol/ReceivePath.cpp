#include "ReceivePath.h"

#include "CommandCodes.h"
#include "OperationOutcome.h"
#include "TRecData.h"
#include "TRecValidCom.h"
#include "Tpasswordverify.h"
#include "Tsend_rec_command.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <algorithm>

namespace {

constexpr int32_t LastSettingsAddress = 0x0FFF;
constexpr int32_t LastNumberListAddress = 0x2FFFF;

} // namespace

ReceivePath::ReceivePath(TRecData &rec, TRecValidCom &valid, Tpasswordverify &password,
                         Tstatusbar_ctrl &status, Tprogressbar_ctrl &progress,
                         OperationOutcome &outcome, QObject *parent)
    : QObject(parent)
    , rec(rec)
    , valid(valid)
    , password(password)
    , status(status)
    , progress(progress)
    , outcome(outcome) {
    connect(&timer, &ReceiveTimer::timeout, this, &ReceivePath::tmr1Timer);
}

void ReceivePath::cm1ReceiveData(TComm *, const char *buffer, quint16 bufferLength) {
    for (quint16 i = 0; i < bufferLength; ++i)
        receiveByte(uint8_t(buffer[i]));
}

void ReceivePath::receiveByte(uint8_t b) {
    timer.Disable();
    status.show(QStringLiteral("Data communication"));
    switch (rec.feed(b)) {
    case TRecData::Feed::Complete:
        timer.replyArrived();
        valid.command = rec.command;
        valid.address = rec.frameAddress();
        valid.length = uint16_t(rec.dataLength());
        std::copy(rec.data, rec.data + valid.length, valid.data);
        dispatch();
        return;
    case TRecData::Feed::BadChecksum:
        status.show(QStringLiteral("Invalid data"));
        break;
    case TRecData::Feed::Dropped:
    case TRecData::Feed::Collecting:
        break;
    }
    // Until a good frame completes, a cut-off or corrupted reply must still end in a timeout.
    if (rec.receiving() || timer.replyAwaited())
        timer.restart();
}

void ReceivePath::tmr1Timer() {
    timer.Disable();
    // Whatever was under way is abandoned: the remains of a cut-off frame must not swallow the
    // next reply, and a login whose reply never came must not take the next settings read.
    rec.reset();
    password.setPending(false);
    outcome.failed(QStringLiteral("Receive timeout"));
    status.clearDirect();
    progress.set(100);
}

void ReceivePath::dispatch() {
    const bool accepted = rec.data[0] == 1;
    switch (valid.command) {
    case CommandCodes::TimeSync:
        status.show(QStringLiteral("Receives the data synchronization command returns"));
        if (accepted)
            outcome.succeeded(QStringLiteral("1同步时间返回正确"));
        else
            outcome.failed(QStringLiteral("0同步时间返回错误"));
        break;
    case CommandCodes::CheckingMode:
        status.show(QStringLiteral("Checking mode"));
        if (accepted)
            outcome.succeeded(QStringLiteral("Enter"));
        else
            outcome.failed(QStringLiteral("Error"));
        break;
    case CommandCodes::WritePage:
        writeReply();
        break;
    case CommandCodes::ReadPage:
        readReply();
        break;
    case CommandCodes::DeleteHistory:
        status.show(QStringLiteral("Delete command"));
        if (accepted)
            outcome.succeeded(QStringLiteral("Historical data deleted"));
        else
            outcome.failed(QStringLiteral("Historical data delet error"));
        break;
    default:
        status.show(QStringLiteral("Undefined data"));
        break;
    }
}

void ReceivePath::writeReply() {
    const int32_t a = valid.address;
    if (a <= LastSettingsAddress) {
        status.show(QStringLiteral("Save basic settings"));
        if (Tsend_rec_command *t = transfers.basic) {
            route(*t);
            if (t->ReplyData[0] == 1)
                t->SendNext();
            else
                outcome.failed(QStringLiteral("Basic setting error"));
        }
    } else if (a <= LastNumberListAddress) {
        showPageProgress(QStringLiteral("Save number list:"), transfers.numbers, false);
        if (Tsend_rec_command *t = transfers.numbers) {
            route(*t);
            if (t->ReplyData[0] == 1)
                t->SendNext();
            else
                outcome.failed(QStringLiteral("Number list data error"));
        }
    } else {
        status.show(QStringLiteral("Undefined address"));
    }
}

void ReceivePath::readReply() {
    const int32_t a = valid.address;
    if (a <= LastSettingsAddress) {
        status.show(QStringLiteral("Reading basic setting"));
        if (password.Pending()) {
            password.PasswordReply(valid.data);
        } else if (Tsend_rec_command *t = transfers.basic) {
            route(*t);
            t->DecodeReply();
        }
    } else if (a <= LastNumberListAddress) {
        showPageProgress(QStringLiteral("Reading number list:"), transfers.numbers, false);
        if (Tsend_rec_command *t = transfers.numbers) {
            route(*t);
            t->DecodeReply();
        }
    } else {
        showPageProgress(QStringLiteral("Reading historical data:"), transfers.history, true);
        if (Tsend_rec_command *t = transfers.history) {
            route(*t);
            t->DecodeReply();
        }
    }
}

void ReceivePath::route(Tsend_rec_command &target) {
    target.ReplyAddress = valid.address;
    std::copy(valid.data, valid.data + std::min<int>(valid.length, 256), target.ReplyData);
}

void ReceivePath::showPageProgress(const QString &prefix, const Tsend_rec_command *target,
                                   bool skipAtIndexZero) {
    // A transfer that was never started (or no transfer at all) counts as page 0 of 0.
    const int index = target ? target->PageIndex : 0;
    const int count = target ? target->PageCount : 0;
    status.show(prefix + QString::number(index - 1) + u'/' + QString::number(count));
    if (count != 0 && !(skipAtIndexZero && index == 0))
        progress.set(quint16(unsigned(index) * 100u / unsigned(count)));
}
