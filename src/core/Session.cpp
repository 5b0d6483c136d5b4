#include "Session.h"

#include "protocol/CommandCodes.h"

Session::Session(Operator &op, QObject *parent)
    : QObject(parent)
    , op(op)
    , outcomeCtrl(op)
    , password(outcomeCtrl)
    , progressCtrl(op)
    , statusCtrl(op, progressCtrl)
    , receive(rec, valid, password, statusCtrl, progressCtrl, outcomeCtrl)
    , sender([this](const char *bytes, quint16 count) { return comm.WriteData(bytes, count); },
             statusCtrl, receive.tmr1())
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
    connect(&comm, &TComm::OnReceiveData, &receive, &ReceivePath::cm1ReceiveData,
            Qt::DirectConnection);

    connect(&password, &Tpasswordverify::operationsUnlocked, this, &Session::operationsUnlocked);
    connect(&outcomeCtrl, &OperationOutcome::ended, this, &Session::operationEnded);
}

Session::~Session() {
    comm.ClosePort();
}

void Session::login(const QString &typed) {
    password.setTypedPassword(typed);
    password.setPending(true);
    // The device password sits in settings page 1; this reads it the way a settings read does.
    sender.send(CommandCodes::ReadPage, 0, QStringLiteral("Read settings"));
    statusCtrl.show(QStringLiteral("Password verifing"));
}
