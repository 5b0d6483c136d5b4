#include "Session.h"

#include "history/THistoryInf.h"
#include "numbers/TtelephoneSend.h"
#include "operator/Operator.h"
#include "protocol/CommandCodes.h"
#include "settings/TBasicInf.h"

Session::Session(Operator &op, QObject *parent)
    : QObject(parent)
    , op(op)
    , outcomeCtrl(op)
    , password(outcomeCtrl)
    , progressCtrl(op)
    , statusCtrl(op, progressCtrl)
    , receive(rec, valid, password, statusCtrl, progressCtrl, outcomeCtrl)
    , sender([this](const char *bytes, quint16 count) { return comm.WriteData(bytes, count); },
             statusCtrl, receive)
    , checkingMode(sender, CommandCodes::CheckingMode)
    , deleteHistory(sender, CommandCodes::DeleteHistory)
    , timeSync(sender, CommandCodes::TimeSync) {
    comm.setBaudRate(115200);
    comm.setByteSize(TComm::ByteSizes::_8);
    comm.setParity(TComm::Parities::None);
    comm.setStopBits(TComm::StopBitsKind::_1);
    comm.setInBufferSize(2048);
    comm.setInputLen(1);
    comm.setPortOpenError(QStringLiteral("Error opening serial port"));
    sender.setConnection([this] { return comm.connection(); });
    connect(&comm, &TComm::OnReceiveData, &receive, &ReceivePath::cm1ReceiveData,
            Qt::DirectConnection);

    connect(&password, &Tpasswordverify::operationsUnlocked, this, &Session::operationsUnlocked);
    connect(&outcomeCtrl, &OperationOutcome::ended, this, &Session::operationEnded);
    connect(&outcomeCtrl, &OperationOutcome::runningChanged, this, &Session::operationRunning);
    connect(&comm, &TComm::OnRequestHangup, this, &Session::hangUp);
}

Session::~Session() {
    comm.ClosePort();
}

TransferBinding Session::bind(TBasicInf &transfer) {
    return {receive, &ReceivePath::Transfers::basic, transfer};
}

TransferBinding Session::bind(TtelephoneSend &transfer) {
    return {receive, &ReceivePath::Transfers::numbers, transfer};
}

TransferBinding Session::bind(THistoryInf &transfer) {
    return {receive, &ReceivePath::Transfers::history, transfer};
}

Result<void> Session::openPort(const QString &path) {
    comm.setCommName(path);
    // An empty name would name the device folder itself.
    if (path.isEmpty())
        return Failure{QStringLiteral("No port chosen")};
    try {
        comm.OpenPort();
    } catch (const ECommsError &) {
        // Its text is the link's PortOpenError(), reported below like every other failure.
    }
    if (comm.PortOpen())
        return {};
    return Failure{comm.OpenFailureReason().isEmpty() ? comm.PortOpenError()
                                                      : comm.OpenFailureReason()};
}

void Session::login(const QString &typed) {
    if (!sender.idle())
        return;
    password.setTypedPassword(typed);
    password.setPending(true);
    // The device password sits in settings page 1; this reads it the way a settings read does.
    sender.send(CommandCodes::ReadPage, 0, QStringLiteral("Read settings"));
    statusCtrl.show(QStringLiteral("Password verifing"));
}

void Session::hangUp() {
    comm.ClosePort();
    emit portLost();
    const QString text = QStringLiteral("COM Port error");
    const QString detail = QStringLiteral("The device was disconnected");
    if (outcomeCtrl.running())
        outcomeCtrl.failed(text, detail);
    else
        op.message(text, QString(), Operator::Icon::None, detail);
}
