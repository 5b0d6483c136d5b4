#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "ReceiveTimer.h"

class OperationOutcome;
class TComm;
class TRecData;
class Tpasswordverify;
class Tprogressbar_ctrl;
class Tsend_rec_command;
class Tstatusbar_ctrl;
struct TRecValidCom;

// Every byte from the device comes through here: reassembly, checksum, the validated reply
// record, and routing by command code and address to the object that waits for it. Also owns
// the receive timer tmr1, which reports a device that stops answering.
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

    // The link's OnReceiveData handler; each byte is handled on its own, in order.
    void cm1ReceiveData(TComm *sender, const char *buffer, quint16 bufferLength);
    void receiveByte(uint8_t b);

    ReceiveTimer &tmr1() { return timer; }
    Transfers transfers;

private:
    void tmr1Timer();
    void dispatch();
    void writeReply();
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
};
