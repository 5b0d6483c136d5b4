#pragma once

#include "numbers/NumberSaveGuard.h"
#include "protocol/PartialRead.h"
#include "protocol/Tsend_rec_command.h"

class NumberTable;
class OperationOutcome;
class Operator;
class Session;

// The number list transfer: reads the device's 375 number list pages (8 entries each) into the
// number table and saves the table back, one page per request, each next page sent from the
// handling of the previous reply. One instance lives for the whole run.
class TtelephoneSend : public Tsend_rec_command {
public:
    static constexpr uint16_t ListPages = 375;
    static constexpr int32_t FirstPageAddress = 0x1000;

    TtelephoneSend(RequestSender &sender, Operator &op, OperationOutcome &outcome,
                   NumberTable &table);
    // Plugs into the session's link and displays.
    TtelephoneSend(Session &session, NumberTable &table);

    // "Read": asks the operator first; only "OK(&Y)" starts the read.
    void ReadList();
    // The read itself, from page 1, without asking.
    void StartRead();
    // "Save": the list must pass its checks, then the operator reviews the changes; nothing is
    // sent otherwise.
    void SaveList();
    // The review before a save, and the backup written just before its first page.
    NumberSaveGuard &saveGuard() { return guard; }
    // The checks before a save; false after the reason was shown.
    bool CheckBeforeSave();

    void RequestNext() override;
    void RequestPage(uint16_t p);
    void SendNext() override;
    void SendPage(uint16_t p);
    void DecodeReply() override;

    static int32_t pageAddress(uint16_t p) { return FirstPageAddress + 0x100 * (int32_t(p) - 1); }

private:
    Operator &op;
    OperationOutcome &outcome;
    NumberTable &table;
    NumberSaveGuard guard;
    PartialRead partial;
};
