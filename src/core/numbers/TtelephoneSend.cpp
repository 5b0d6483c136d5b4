#include "TtelephoneSend.h"

#include "NumberListCheck.h"
#include "NumberRecord.h"
#include "NumberTable.h"
#include "Session.h"
#include "operator/Operator.h"
#include "protocol/CommandCodes.h"
#include "protocol/OperationOutcome.h"
#include "protocol/RequestSender.h"

#include <span>

TtelephoneSend::TtelephoneSend(RequestSender &sender, Operator &op, OperationOutcome &outcome,
                               NumberTable &table)
    : Tsend_rec_command(sender)
    , op(op)
    , outcome(outcome)
    , table(table)
    , guard(op, table)
    , partial(outcome, op, QStringLiteral("the number list")) {}

TtelephoneSend::TtelephoneSend(Session &session, NumberTable &table)
    : TtelephoneSend(session.requests(), session.person(), session.outcome(), table) {
    guard.nameBackupsFor(session.cm1());
}

void TtelephoneSend::ReadList() {
    if (!sender.idle())
        return;
    const bool accepted = op.confirm(
        QStringLiteral("Read the Authorized number list from GSM device to PC software?"),
        QString(), QStringLiteral("OK(&Y)"), QStringLiteral("Cancel(&N)"),
        Operator::Icon::Question);
    if (accepted)
        StartRead();
}

void TtelephoneSend::StartRead() {
    if (start(ListPages)) {
        partial.started(ListPages);
        RequestNext();
    }
}

void TtelephoneSend::SaveList() {
    // The checks come first: the operator reviews only a list that can be saved.
    if (!sender.idle() || !CheckBeforeSave() || !guard.review() || !guard.backupBeforeSave(outcome))
        return;
    if (start(ListPages))
        SendNext();
}

bool TtelephoneSend::CheckBeforeSave() {
    QString problem = NumberListCheck::windows(table);
    if (problem.isEmpty())
        problem = NumberListCheck::deviceValues(table);
    if (problem.isEmpty())
        return true;
    outcome.failed(problem);
    return false;
}

void TtelephoneSend::RequestNext() {
    advance([this](uint16_t p) { RequestPage(p); },
            [this] {
                guard.deviceMatchesTable();
                outcome.succeeded(
                    QStringLiteral("Authorized number list read to PC software success."));
            });
}

void TtelephoneSend::RequestPage(uint16_t p) {
    sender.send(CommandCodes::ReadPage, pageAddress(p),
                QStringLiteral("Reading telephone number information"));
}

void TtelephoneSend::SendNext() {
    advance([this](uint16_t p) { SendPage(p); },
            [this] {
                guard.deviceMatchesTable();
                outcome.succeeded(QStringLiteral("Authorized number list saved success"));
            });
}

void TtelephoneSend::SendPage(uint16_t p) {
    uint8_t page[256];
    const int firstRow = (p - 1) * NumberRecord::PerPage + 1;
    for (int k = 0; k < NumberRecord::PerPage; ++k)
        NumberRecord::encode(table, firstRow + k, page + k * NumberRecord::Size);
    sender.send(CommandCodes::WritePage, pageAddress(p), std::span<const uint8_t>(page),
                QStringLiteral("Save list"));
}

void TtelephoneSend::DecodeReply() {
    const int32_t offset = ReplyAddress - FirstPageAddress;
    // The rows come from the reply's address; only pages 1..375 have rows.
    if (offset >= 0 && offset % 0x100 == 0 && offset / 0x100 < ListPages) {
        const int firstRow = offset / 0x100 * NumberRecord::PerPage + 1;
        const int lastRow = firstRow + NumberRecord::PerPage - 1;
        table.editRows(firstRow, lastRow, [&] {
            for (int k = 0; k < NumberRecord::PerPage; ++k)
                NumberRecord::decode(ReplyData + k * NumberRecord::Size, table, firstRow + k);
        });
        // What a page brought is what the device holds: no change marks while a read fills in.
        table.markBaselineRows(firstRow, lastRow);
        partial.pageRead();
    }
    RequestNext();
}
