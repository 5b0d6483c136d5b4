#pragma once

#include <QObject>
#include <QString>

#include "Result.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"
#include "protocol/OperationOutcome.h"
#include "protocol/ReceivePath.h"
#include "protocol/RequestSender.h"
#include "protocol/TComm.h"
#include "protocol/TRecData.h"
#include "protocol/TRecValidCom.h"
#include "protocol/Tpasswordverify.h"
#include "protocol/TransferBinding.h"
#include "protocol/Tsingalcmd.h"
#include "protocol/Tsynchronizationtime_sc.h"

class Operator;
class TBasicInf;
class THistoryInf;
class Tsend_rec_command;
class TtelephoneSend;

// Everything the program keeps for the whole run apart from its widgets: the serial link cm1,
// the receive path with its timer, the password check, the single commands, and the status and
// progress helpers. The window and the command-line front both drive the device through it and
// talk to the person through the Operator they pass in.
//
// Opening and closing the port is the front's business (openPort(), cm1().ClosePort()); the
// transfers of the three memory areas are created by their own units and plugged in with
// the set...Transfer() calls for the whole run, or bound for a while with bind().
class Session : public QObject {
    Q_OBJECT
public:
    explicit Session(Operator &op, QObject *parent = nullptr);
    ~Session() override;

    // Opens the port at `path` (a device path, or a bare name under /dev). A failure leaves it
    // closed; its reason, shown beneath "COM Port error", is "No port chosen" for an empty path,
    // else why the system refused it (PortProblem), else the link's own error text.
    Result<void> openPort(const QString &path);
    // Log in: read the device password from settings page 1 and compare it with `typed`. Ends
    // with "Password confirmed!" or "Password Error!" (or "Receive timeout").
    void login(const QString &typed);
    void sendCheckingMode() { checkingMode.Send(); }
    void sendTimeSync() { timeSync.Send(); }
    void sendDeleteHistory() { deleteHistory.Send(); }

    // The transfer of each memory area, as its unit creates it; replies for an area are routed
    // only once its transfer is set.
    void setBasicTransfer(Tsend_rec_command *basic) { receive.transfers.basic = basic; }
    void setNumberListTransfer(Tsend_rec_command *numbers) { receive.transfers.numbers = numbers; }
    void setHistoryTransfer(Tsend_rec_command *history) { receive.transfers.history = history; }
    // The area's replies go to `transfer` while the binding lives, then back to whichever
    // transfer had them before.
    TransferBinding bind(TBasicInf &transfer);
    TransferBinding bind(TtelephoneSend &transfer);
    TransferBinding bind(THistoryInf &transfer);

    TComm &cm1() { return comm; }
    Operator &person() { return op; }
    RequestSender &requests() { return sender; }
    Tstatusbar_ctrl &statusBar() { return statusCtrl; }
    Tprogressbar_ctrl &progressBar() { return progressCtrl; }
    OperationOutcome &outcome() { return outcomeCtrl; }
    Tpasswordverify &passwordCheck() { return password; }
    ReceivePath &receivePath() { return receive; }
    Tsynchronizationtime_sc &timeSyncCommand() { return timeSync; }

signals:
    // The operation buttons follow this: unlocked after a good login, locked after a bad one.
    void operationsUnlocked(bool unlocked);
    // An operation started (its first request went out) or ended: one runs at a time.
    void operationRunning(bool running);
    // The device vanished (unplugged): the port has been closed. The front shows it closed.
    void portLost();
    // An operation ended with its message box: its success text (ok) or an error text.
    void operationEnded(bool ok, const QString &text);

private:
    void hangUp();

    Operator &op;
    TComm comm;
    TRecData rec;
    TRecValidCom valid;
    OperationOutcome outcomeCtrl;
    Tpasswordverify password;
    Tprogressbar_ctrl progressCtrl;
    Tstatusbar_ctrl statusCtrl;
    ReceivePath receive;
    RequestSender sender;
    Tsingalcmd checkingMode;
    Tsingalcmd deleteHistory;
    Tsynchronizationtime_sc timeSync;
};
