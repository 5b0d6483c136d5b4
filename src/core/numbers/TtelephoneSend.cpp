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
    if (!start(ListPages))
        return;
    guard.useConnection(sender.connection());
    phase = Phase::Read;
    partial.started(ListPages);
    RequestNext();
}

void TtelephoneSend::SaveList() {
    // The checks come first: the operator reviews only a list that can be saved.
    if (!sender.idle() || !CheckBeforeSave())
        return;
    guard.useConnection(sender.connection());
    if (!guard.review() || !guard.backupBeforeSave(outcome))
        return;
    const bool known = knownOn != 0 && knownOn == sender.connection();
    save.plan(pagesOf(table), known ? held : QList<QByteArray>(),
              writeAll || guard.writeAllPagesChosen(), readBackAll);
    sendPlannedSave();
}

void TtelephoneSend::sendPlannedSave() {
    // Before the first plan there is nothing to send, not even the news that nothing differs.
    if (!sender.idle() || save.allPages().isEmpty())
        return;
    if (save.writeCount() == 0 && save.readBackCount() == 0) {
        deviceHoldsTable();
        outcome.succeeded(QStringLiteral("The device already holds this list: nothing was "
                                         "written."));
        return;
    }
    if (!start(uint16_t(save.writeCount())))
        return;
    save.clearMismatches();
    // Until the pages are read back, what the device holds is not known.
    knownOn = 0;
    phase = Phase::Write;
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

QList<QByteArray> TtelephoneSend::pagesOf(const NumberTable &from) {
    QList<QByteArray> pages;
    for (uint16_t p = 1; p <= ListPages; ++p) {
        QByteArray page(256, '\0');
        const int firstRow = (p - 1) * NumberRecord::PerPage + 1;
        for (int k = 0; k < NumberRecord::PerPage; ++k)
            NumberRecord::encode(from, firstRow + k,
                                 reinterpret_cast<uint8_t *>(page.data()) + k * NumberRecord::Size);
        pages << page;
    }
    return pages;
}

void TtelephoneSend::deviceHoldsTable() {
    guard.deviceMatchesTable();
    knownOn = sender.connection();
}

void TtelephoneSend::RequestNext() {
    if (phase == Phase::ReadBack)
        return readBackNext();
    advance([this](uint16_t p) { RequestPage(p); },
            [this] {
                deviceHoldsTable();
                outcome.succeeded(
                    QStringLiteral("Authorized number list read to PC software success."));
            });
}

void TtelephoneSend::RequestPage(uint16_t p) {
    sender.send(CommandCodes::ReadPage, pageAddress(p),
                QStringLiteral("Reading telephone number information"));
}

void TtelephoneSend::SendNext() {
    advance([this](uint16_t i) { SendPage(save.writePage(i)); },
            [this] {
                // The written pages come back next, counted as a read of their own.
                phase = Phase::ReadBack;
                PageCount = uint16_t(save.readBackCount());
                PageIndex = 1;
                readBackNext();
            });
}

void TtelephoneSend::readBackNext() {
    advance([this](uint16_t i) { RequestPage(save.readBackPage(i)); },
            [this] {
                if (!save.mismatches().isEmpty())
                    return outcome.failed(QStringLiteral("Number list data error"),
                                          save.mismatchText());
                held = save.allPages();
                deviceHoldsTable();
                outcome.succeeded(QStringLiteral("Authorized number list saved success"));
            });
}

void TtelephoneSend::SendPage(uint16_t p) {
    const QByteArray &page = save.bytes(p);
    sender.send(CommandCodes::WritePage, pageAddress(p),
                std::span(reinterpret_cast<const uint8_t *>(page.constData()), 256),
                QStringLiteral("Save list"));
}

void TtelephoneSend::DecodeReply() {
    const int32_t offset = ReplyAddress - FirstPageAddress;
    // The rows come from the reply's address; only pages 1..375 have rows.
    if (offset < 0 || offset % 0x100 != 0 || offset / 0x100 >= ListPages)
        return RequestNext();
    const auto page = uint16_t(offset / 0x100 + 1);
    if (phase == Phase::ReadBack) {
        save.compare(page, ReplyData);
        return RequestNext();
    }
    held.resize(ListPages);
    held[page - 1] = QByteArray(reinterpret_cast<const char *>(ReplyData), 256);
    const int firstRow = (page - 1) * NumberRecord::PerPage + 1;
    const int lastRow = firstRow + NumberRecord::PerPage - 1;
    table.editRows(firstRow, lastRow, [&] {
        for (int k = 0; k < NumberRecord::PerPage; ++k)
            NumberRecord::decode(ReplyData + k * NumberRecord::Size, table, firstRow + k);
    });
    // What a page brought is what the device holds: no change marks while a read fills in.
    table.markBaselineRows(firstRow, lastRow);
    partial.pageRead();
    RequestNext();
}
