#pragma once

#include "numbers/NumberSaveGuard.h"
#include "protocol/PagedSave.h"
#include "protocol/PartialRead.h"
#include "protocol/Tsend_rec_command.h"

class NumberTable;
class OperationOutcome;
class Operator;
class Session;

// The number list transfer: reads the device's 375 number list pages (8 entries each) into the
// number table and saves the table back, one page per request, each next page sent from the
// handling of the previous reply. One instance lives for the whole run.
//
// A save writes only the pages whose bytes differ from what the device holds, when that is known:
// the pages as last read or saved on this opening of the port. Then it reads the written pages
// back; any that holds otherwise fails the save.
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
    // The pages the last SaveList planned, written and read back again from the first, without
    // its checks and review: for a table that still holds what it held then.
    void sendPlannedSave();
    // The review before a save, and the backup written just before its first page.
    NumberSaveGuard &saveGuard() { return guard; }
    // The checks before a save; false after the reason was shown.
    bool CheckBeforeSave();
    // The next saves write every page, whatever the device is known to hold.
    void setWriteAllPages(bool all) { writeAll = all; }
    // The next saves read every page back, not only the written ones.
    void setReadBackAllPages(bool all) { readBackAll = all; }

    void RequestNext() override;
    void RequestPage(uint16_t p);
    void SendNext() override;
    void SendPage(uint16_t p);
    void DecodeReply() override;

    static int32_t pageAddress(uint16_t p) { return FirstPageAddress + 0x100 * (int32_t(p) - 1); }

private:
    enum class Phase { Read, Write, ReadBack };
    // Every page as a save writes it from `from`.
    static QList<QByteArray> pagesOf(const NumberTable &from);
    void readBackNext();
    void deviceHoldsTable();

    Operator &op;
    OperationOutcome &outcome;
    NumberTable &table;
    NumberSaveGuard guard;
    PagedSave save;
    // The device's pages as last read or saved; they hold for the opening of the port knownOn.
    QList<QByteArray> held;
    Phase phase = Phase::Read;
    bool writeAll = false;
    bool readBackAll = false;
    // The opening of the port on which `held` is what the device holds; 0: not known.
    quint64 knownOn = 0;
    PartialRead partial;
};
