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
    if (!start(SettingsPages))
        return;
    guard.useConnection(sender.connection());
    phase = Phase::Read;
    partial.started(SettingsPages);
    RequestNext();
}

void TBasicInf::SaveSettings() {
    if (!sender.idle())
        return;
    // Only a table that can be saved is worth the operator's review.
    if (const QString problem = area.checkBeforeSave(CodePage::current()); !problem.isEmpty())
        return outcome.failed(problem);
    guard.useConnection(sender.connection());
    if (!guard.review())
        return;
    // Checked again once the review is over: a cell changed during it keeps anything of the save
    // from being sent.
    if (const QString problem = area.checkBeforeSave(CodePage::current()); !problem.isEmpty())
        return outcome.failed(problem);
    if (!guard.backupBeforeSave(outcome))
        return;
    const bool known = knownOn != 0 && knownOn == sender.connection();
    save.plan(pagesOf(), known ? held : QList<QByteArray>(),
              writeAll || guard.writeAllPagesChosen(), false);
    if (save.writeCount() == 0) {
        deviceHoldsTable();
        return outcome.succeeded(
            QStringLiteral("The device already holds these settings: nothing was written."));
    }
    if (!start(uint16_t(save.writeCount())))
        return;
    knownOn = 0;
    phase = Phase::Write;
    SendNext();
}

QList<QByteArray> TBasicInf::pagesOf() {
    QByteArray page1(SettingsArea::PageSize, '\0');
    QByteArray page2(SettingsArea::PageSize, '\0');
    const CodePage codePage = CodePage::current();
    area.encodePage1(reinterpret_cast<uint8_t *>(page1.data()), codePage);
    area.encodePage2(reinterpret_cast<uint8_t *>(page2.data()), codePage);
    return {page1, page2};
}

void TBasicInf::deviceHoldsTable() {
    guard.deviceMatchesTable();
    knownOn = sender.connection();
}

void TBasicInf::RequestNext() {
    if (phase == Phase::ReadBack)
        return readBackNext();
    advance([this](uint16_t p) { RequestPage(p); },
            [this] {
                deviceHoldsTable();
                outcome.succeeded(QStringLiteral("Basic settings read to PC software success."));
            });
}

void TBasicInf::RequestPage(uint16_t p) {
    sender.send(CommandCodes::ReadPage, pageAddress(p), QStringLiteral("Read settings"));
}

void TBasicInf::SendNext() {
    if (PageIndex <= PageCount) {
        progress.set(quint16(100 * PageIndex / PageCount));
        SendPage(save.writePage(PageIndex));
        ++PageIndex;
    } else if (int(PageIndex) == int(PageCount) + 1) {
        phase = Phase::ReadBack;
        PageCount = uint16_t(save.readBackCount());
        PageIndex = 1;
        readBackNext();
    }
}

void TBasicInf::readBackNext() {
    advance([this](uint16_t i) { RequestPage(save.readBackPage(i)); },
            [this] {
                if (!save.mismatches().isEmpty())
                    return outcome.failed(QStringLiteral("Basic setting error"),
                                          save.mismatchText());
                held = save.allPages();
                deviceHoldsTable();
                outcome.succeeded(QStringLiteral("Basic setting saved success"));
            });
}

void TBasicInf::SendPage(uint16_t p) {
    const QByteArray &page = save.bytes(p);
    sender.send(CommandCodes::WritePage, pageAddress(p),
                std::span(reinterpret_cast<const uint8_t *>(page.constData()), 256),
                QStringLiteral("Save settings"));
}

void TBasicInf::DecodeReply() {
    if (phase == Phase::ReadBack) {
        if (ReplyAddress == Page1Address || ReplyAddress == Page2Address)
            save.compare(uint16_t(ReplyAddress / 256 + 1), ReplyData);
        return RequestNext();
    }
    if (ReplyAddress == Page1Address || ReplyAddress == Page2Address)
        held[ReplyAddress / 256] = QByteArray(reinterpret_cast<const char *>(ReplyData), 256);
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
