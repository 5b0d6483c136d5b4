#include "THistoryInf.h"

#include "HistoryFilter.h"
#include "HistoryRecord.h"
#include "HistoryTable.h"
#include "HistoryText.h"
#include "Session.h"
#include "exchange/CodePage.h"
#include "operator/Operator.h"
#include "operator/Tstatusbar_ctrl.h"
#include "protocol/CommandCodes.h"
#include "protocol/OperationOutcome.h"
#include "protocol/RequestSender.h"

#include <QList>
#include <QStringList>

namespace {

// Records dated from this year on are not kept.
constexpr int FirstDroppedYear = 2080;

} // namespace

THistoryInf::THistoryInf(RequestSender &sender, Operator &op, OperationOutcome &outcome,
                         Tstatusbar_ctrl &status, HistoryTable &table)
    : Tsend_rec_command(sender)
    , op(op)
    , outcome(outcome)
    , status(status)
    , table(table) {}

THistoryInf::THistoryInf(Session &session, HistoryTable &table)
    : THistoryInf(session.requests(), session.person(), session.outcome(), session.statusBar(),
                  table) {}

void THistoryInf::StartRead() {
    if (start(AreaPages))
        RequestNext();
}

void THistoryInf::RequestNext() {
    advance([this](uint16_t p) { RequestPage(p); },
            [this] {
                CompactRows();
                outcome.completed();
            });
}

void THistoryInf::RequestPage(uint16_t p) {
    sender.send(CommandCodes::ReadPage, pageAddress(p), QStringLiteral("Reading historical data"));
}

void THistoryInf::DecodeReply() {
    const int32_t offset = ReplyAddress - FirstPageAddress;
    // The rows come from the reply's address; only the area's 500 pages have rows.
    if (offset >= 0 && offset / 0x100 < AreaPages) {
        const int firstRow = offset / 0x100 * HistoryRecord::PerPage + 1;
        const CodePage codePage = CodePage::current();
        table.editRows(firstRow, firstRow + HistoryRecord::PerPage - 1, [&] {
            for (int k = 0; k < HistoryRecord::PerPage; ++k)
                HistoryRecord::decode(ReplyData + k * HistoryRecord::Size, table, firstRow + k,
                                      codePage);
        });
    }
    RequestNext();
}

void THistoryInf::CompactRows() {
    QList<QStringList> kept;
    for (int r = 1; r <= HistoryTable::RecordCount; ++r) {
        if (table.cell(HistoryTable::RecordNo, r).isEmpty())
            continue;
        // A record whose date bytes were erased still tells its number, time and event: it is
        // kept with an empty date (which no date filter selects).
        const QString date = table.cell(HistoryTable::Date, r);
        const auto year = HistoryText::toInt(HistoryText::copy(date, 1, 4));
        if (date.isEmpty() || (year && *year < FirstDroppedYear))
            kept << table.recordTexts(r);
    }
    table.replaceRecords(kept);
}

bool THistoryInf::FilterRows(const HistoryWindow &window) {
    const HistoryFilter::Result result = HistoryFilter::apply(table, window);
    if (!result.status.isEmpty())
        status.show(result.status);
    if (!result.filtered)
        op.message(result.message);
    return result.filtered;
}
