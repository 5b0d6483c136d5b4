#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "FrameVerdict.h"
#include "ReceiveTimer.h"
#include "TRecData.h"

class OperationOutcome;
class TComm;
class Tpasswordverify;
class Tprogressbar_ctrl;
class Tsend_rec_command;
class Tstatusbar_ctrl;
struct TRecValidCom;

// Every byte from the device comes through here: reassembly, checksum, the validated reply
// record, and routing by command code and address to the object that waits for it. Also owns
// the receive timer tmr1, which reports a device that stops answering.
//
// Only the reply to the one request outstanding is acted on: a good frame with another command
// or address (a late reply after a timeout, a repeated one, one that nobody asked for) is noise.
// A reply is never read past its own length: a page shorter than 256 bytes (a password reply
// shorter than 4) is taken as damaged, and a write or command reply without a data byte as a
// refusal.
class ReceivePath : public QObject {
    Q_OBJECT
public:
    // The transfer objects that replies are routed to, by address area. A slot left empty
    // gets nothing routed.
    struct Transfers {
        Tsend_rec_command *basic = nullptr;   // settings area, 0x0000..0x0FFF
        Tsend_rec_command *numbers = nullptr; // number list, 0x1000..0x2FFFF
        Tsend_rec_command *history = nullptr; // history, 0x30000 upward
    };

    ReceivePath(TRecData &rec, TRecValidCom &valid, Tpasswordverify &password,
                Tstatusbar_ctrl &status, Tprogressbar_ctrl &progress, OperationOutcome &outcome,
                QObject *parent = nullptr);

    // The link's OnReceiveData handler; the bytes are taken in order, each as if on its own.
    void cm1ReceiveData(TComm *sender, const char *buffer, quint16 bufferLength);

    // A request went out: its reply is now the one awaited, the operation it belongs to runs,
    // and the receive timer guards it. Bytes of an earlier frame still being collected cannot be
    // its reply, which the device starts only after the request.
    void expect(uint8_t command, int32_t address);
    bool awaiting() const { return awaited.has_value(); }

    ReceiveTimer &tmr1() { return timer; }
    OperationOutcome &operation() { return outcome; }
    Transfers transfers;

signals:
    // A frame reassembled, from its start byte to its checksum, and what became of it (for
    // tracing).
    void frameReceived(const QByteArray &frame, FrameVerdict verdict);

private:
    struct Request {
        uint8_t command;
        int32_t address;
    };

    TRecData::Feed receiveByte(uint8_t b);
    // Past the bytes from `next` on that would be handled like the one just handled and change
    // nothing more: noise after a dropped byte, the rest of the data of a frame being collected.
    const uint8_t *skipAlike(TRecData::Feed fed, const uint8_t *next, const uint8_t *end);
    void tmr1Timer();
    void operationEnded();
    // The frame just validated answers the request outstanding and is whole.
    bool answersRequest() const;
    void dispatch();
    void reportFrame(FrameVerdict verdict);
    void writeReply(bool accepted);
    void readReply();
    void route(Tsend_rec_command &target);
    // "prefix" + (I - 1) + "/" + T, with the progress I * 100 div T when T is not 0 (the
    // history shows no progress for I = 0).
    void showPageProgress(const QString &prefix, const Tsend_rec_command *target,
                          bool skipAtIndexZero);

    TRecData &rec;
    TRecValidCom &valid;
    Tpasswordverify &password;
    Tstatusbar_ctrl &status;
    Tprogressbar_ctrl &progress;
    OperationOutcome &outcome;
    ReceiveTimer timer;
    std::optional<Request> awaited;
};
