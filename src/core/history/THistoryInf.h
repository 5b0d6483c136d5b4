#pragma once

#include "protocol/Tsend_rec_command.h"

class HistoryTable;
class OperationOutcome;
class Operator;
class Session;
class Tstatusbar_ctrl;
struct HistoryWindow;

// The history transfer: reads the device's 500 history pages (two records each) into the history
// table, one page per request, then packs the records that hold an event to the top of the
// table. It also narrows the table to a date-time window. One instance lives for the whole run.
class THistoryInf : public Tsend_rec_command {
public:
    static constexpr uint16_t AreaPages = 500;
    static constexpr int32_t FirstPageAddress = 0x30000;

    THistoryInf(RequestSender &sender, Operator &op, OperationOutcome &outcome,
                Tstatusbar_ctrl &status, HistoryTable &table);
    // Plugs into the session's link and displays.
    THistoryInf(Session &session, HistoryTable &table);

    // "Read data": the whole area from page 1. The table is not cleared first: each page
    // overwrites its two rows, and the packing at the end replaces the rest.
    void StartRead();
    void RequestNext() override;
    void RequestPage(uint16_t p);
    void DecodeReply() override;
    // Keeps the rows with a record number and a year below 2080 or no date at all, in table
    // order, from row 1 on.
    void CompactRows();
    // "Filter": false when it wrote nothing, after telling the operator why.
    bool FilterRows(const HistoryWindow &window);

    static int32_t pageAddress(uint16_t p) { return FirstPageAddress + 0x100 * (int32_t(p) - 1); }

private:
    Operator &op;
    OperationOutcome &outcome;
    Tstatusbar_ctrl &status;
    HistoryTable &table;
};
