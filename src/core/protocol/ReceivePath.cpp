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
#include <cstring>

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
    connect(&outcome, &OperationOutcome::ended, this, &ReceivePath::operationEnded);
}

void ReceivePath::cm1ReceiveData(TComm *, const char *buffer, quint16 bufferLength) {
    const auto *next = reinterpret_cast<const uint8_t *>(buffer);
    const uint8_t *const end = next + bufferLength;
    while (next < end) {
        const TRecData::Feed fed = receiveByte(*next++);
        next = skipAlike(fed, next, end);
    }
}

// Each skipped byte would only show "Data communication" again and, in the awaited reply, extend
// the wait: extending once after the run ends the wait at the same time.
const uint8_t *ReceivePath::skipAlike(TRecData::Feed fed, const uint8_t *next, const uint8_t *end) {
    if (fed == TRecData::Feed::Dropped) {
        const void *start = std::memchr(next, TDataPackage::StartByte, size_t(end - next));
        return start ? static_cast<const uint8_t *>(start) : end;
    }
    if (fed != TRecData::Feed::Collecting)
        return next;
    const int taken = rec.takeData(next, int(end - next));
    if (taken > 0 && awaited && rec.collectingFrameOf(awaited->command, awaited->address))
        timer.extend();
    return next + taken;
}

void ReceivePath::expect(uint8_t command, int32_t address) {
    rec.reset();
    awaited = Request{command, address};
    outcome.begin();
    timer.enable();
}

TRecData::Feed ReceivePath::receiveByte(uint8_t b) {
    status.show(QStringLiteral("Data communication"));
    const TRecData::Feed fed = rec.feed(b);
    switch (fed) {
    case TRecData::Feed::Complete:
        valid.command = rec.command;
        valid.address = rec.frameAddress();
        valid.length = uint16_t(rec.dataLength());
        std::copy(rec.data, rec.data + valid.length, valid.data);
        if (answersRequest()) {
            timer.disable();
            reportFrame(FrameVerdict::Ok);
            awaited.reset();
            dispatch();
            return fed;
        }
        if (awaited && awaited->command == valid.command && awaited->address == valid.address) {
            reportFrame(FrameVerdict::InvalidData);
            status.show(QStringLiteral("Invalid data"));
        } else {
            reportFrame(FrameVerdict::Undefined);
            status.show(QStringLiteral("Undefined data"));
        }
        break;
    case TRecData::Feed::BadChecksum:
        reportFrame(FrameVerdict::BadChecksum);
        status.show(QStringLiteral("Invalid data"));
        break;
    case TRecData::Feed::Collecting:
        // Only the awaited reply coming in holds the timeout off; noise, start bytes and
        // unrelated frames leave the count running, so a chattering line still ends the wait.
        if (awaited && rec.collectingFrameOf(awaited->command, awaited->address))
            timer.extend();
        break;
    case TRecData::Feed::Dropped:
        break;
    }
    return fed;
}

bool ReceivePath::answersRequest() const {
    if (!awaited || awaited->command != valid.command || awaited->address != valid.address)
        return false;
    if (valid.command != CommandCodes::ReadPage)
        return true;
    // The password check reads only the first four bytes of its page.
    return valid.length >= (password.Pending() ? 4 : 256);
}

void ReceivePath::reportFrame(FrameVerdict verdict) {
    // The reassembler keeps everything after the start byte: header, data and checksum.
    QByteArray frame(1, char(TDataPackage::StartByte));
    frame.append(reinterpret_cast<const char *>(rec.raw), rec.dataLen + 8);
    emit frameReceived(frame, verdict);
}

void ReceivePath::tmr1Timer() {
    timer.disable();
    // Forgotten before the message box opens: a reply that comes while it is open is too late.
    operationEnded();
    outcome.failed(QStringLiteral("Receive timeout"));
    status.clearDirect();
    progress.set(100);
}

void ReceivePath::operationEnded() {
    // Whatever was under way is abandoned: the remains of a cut-off frame must not swallow the
    // next reply, and a login whose reply never came must not take the next settings read.
    awaited.reset();
    timer.disable();
    rec.reset();
    password.setPending(false);
}

void ReceivePath::dispatch() {
    const bool accepted = valid.length >= 1 && valid.data[0] == 1;
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
        writeReply(accepted);
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
        // A request the device has no code for was answered; there is nobody to hand it to.
        status.show(QStringLiteral("Undefined data"));
        break;
    }
}

void ReceivePath::writeReply(bool accepted) {
    const int32_t a = valid.address;
    if (a <= LastSettingsAddress) {
        status.show(QStringLiteral("Save basic settings"));
        if (Tsend_rec_command *t = transfers.basic) {
            route(*t);
            if (accepted)
                t->SendNext();
            else
                outcome.failed(QStringLiteral("Basic setting error"));
        }
    } else if (a <= LastNumberListAddress) {
        showPageProgress(QStringLiteral("Save number list:"), transfers.numbers, false);
        if (Tsend_rec_command *t = transfers.numbers) {
            route(*t);
            if (accepted)
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
    const int n = std::min<int>(valid.length, 256);
    std::copy(valid.data, valid.data + n, target.ReplyData);
    // Nothing of an earlier reply stays behind the new one's end.
    std::fill(target.ReplyData + n, std::end(target.ReplyData), uint8_t(0));
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
