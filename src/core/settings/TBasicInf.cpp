#include "TBasicInf.h"

#include "Session.h"
#include "exchange/CodePage.h"
#include "operator/Operator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"
#include "protocol/CommandCodes.h"
#include "protocol/OperationOutcome.h"
#include "protocol/RequestSender.h"
#include "settings/SettingsTable.h"

#include <span>

namespace {

constexpr int32_t Page1Address = 0x000;
constexpr int32_t Page2Address = 0x100;

int32_t pageAddress(uint16_t p) {
    return 256 * (int32_t(p) - 1);
}

} // namespace

TBasicInf::TBasicInf(RequestSender &sender, Operator &op, OperationOutcome &outcome,
                     Tstatusbar_ctrl &status, Tprogressbar_ctrl &progress, SettingsTable &table)
    : Tsend_rec_command(sender)
    , op(op)
    , outcome(outcome)
    , status(status)
    , progress(progress)
    , table(table)
    , area(table)
    , guard(op, table)
    , partial(outcome, op, QStringLiteral("the settings")) {}

TBasicInf::TBasicInf(Session &session, SettingsTable &table)
    : TBasicInf(session.requests(), session.person(), session.outcome(), session.statusBar(),
                session.progressBar(), table) {
    guard.nameBackupsFor(session.cm1());
}

void TBasicInf::ReadSettings() {
    if (!sender.idle())
        return;
    const bool accepted = op.confirm(
        QStringLiteral("Read the GSM device basic parameters to PC software?"), QString(),
        QStringLiteral("OK(&Y)"), QStringLiteral("Cancel(&N)"), Operator::Icon::Question);
    if (accepted)
        StartRead();
}

void TBasicInf::StartRead() {
    if (start(SettingsPages)) {
        partial.started(SettingsPages);
        RequestNext();
    }
}

void TBasicInf::SaveSettings() {
    if (!sender.idle())
        return;
    // Only a table that can be saved is worth the operator's review.
    const QString problem = area.checkBeforeSave(CodePage::current());
    if (!problem.isEmpty()) {
        outcome.failed(problem);
        return;
    }
    if (!guard.review())
        return;
    if (start(SettingsPages))
        SendNext();
}

void TBasicInf::RequestNext() {
    advance([this](uint16_t p) { RequestPage(p); },
            [this] {
                guard.deviceMatchesTable();
                outcome.succeeded(QStringLiteral("Basic settings read to PC software success."));
            });
}

void TBasicInf::RequestPage(uint16_t p) {
    sender.send(CommandCodes::ReadPage, pageAddress(p), QStringLiteral("Read settings"));
}

void TBasicInf::SendNext() {
    if (PageIndex <= PageCount) {
        progress.set(quint16(50 * PageIndex));
        // A page that cannot be built is not sent and not counted.
        if (SendPage(PageIndex))
            ++PageIndex;
    } else if (int(PageIndex) == int(PageCount) + 1) {
        guard.deviceMatchesTable();
        outcome.succeeded(QStringLiteral("Basic setting saved success"));
    }
}

bool TBasicInf::SendPage(uint16_t p) {
    if (p == 1) {
        // Every number cell is on page 1; checking the table again here, once it is the
        // operation's, keeps a cell changed during the review from sending anything.
        const QString problem = area.checkBeforeSave(CodePage::current());
        if (!problem.isEmpty()) {
            outcome.failed(problem);
            return false;
        }
        if (!guard.backupBeforeSave(outcome))
            return false;
        EncodePage1();
    } else {
        // Page 2 is built now, from the table as it is when its turn comes.
        EncodePage2();
    }
    sender.send(CommandCodes::WritePage, pageAddress(p), std::span<const uint8_t>(ReplyData),
                QStringLiteral("Save settings"));
    return true;
}

void TBasicInf::EncodePage1() {
    area.encodePage1(ReplyData, CodePage::current());
}

void TBasicInf::EncodePage2() {
    area.encodePage2(ReplyData, CodePage::current());
}

void TBasicInf::DecodeReply() {
    const auto step = [this](quint16 percent) { progress.set(percent); };
    if (ReplyAddress == Page1Address) {
        step(25);
        // Straight to the panel: these texts do not restart the status timer.
        op.setStatusText(QStringLiteral("The first page"));
        area.decodePage1(ReplyData, CodePage::current(), step);
        // What a page brought is what the device holds: no change marks while a read fills in.
        table.markBaselineRows(1, SettingsArea::LastRowOnPage1);
        partial.pageRead();
        step(50);
    } else if (ReplyAddress == Page2Address) {
        op.setStatusText(QStringLiteral("The second page"));
        area.decodePage2(ReplyData, CodePage::current(), step);
        table.markBaselineRows(SettingsArea::LastRowOnPage1, SettingsTable::ParameterCount);
        partial.pageRead();
        step(100);
        status.clearDirect();
    }
    RequestNext();
}
