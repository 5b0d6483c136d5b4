#pragma once

#include "protocol/PagedSave.h"
#include "protocol/PartialRead.h"
#include "protocol/Tsend_rec_command.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsSaveGuard.h"

class OperationOutcome;
class Operator;
class Session;
class SettingsTable;
class Tprogressbar_ctrl;
class Tstatusbar_ctrl;

// The settings transfer: reads the device's settings area (two pages) into the settings table
// and saves the table back, one page per request, each next page sent from the handling of the
// previous reply. One instance lives for the whole run. A save writes only the page that differs
// from what the device is known to hold on this opening of the port, then reads the written
// pages back, as the number list's save does.
class TBasicInf : public Tsend_rec_command {
public:
    static constexpr uint16_t SettingsPages = 2;

    TBasicInf(RequestSender &sender, Operator &op, OperationOutcome &outcome,
              Tstatusbar_ctrl &status, Tprogressbar_ctrl &progress, SettingsTable &table);
    // Plugs into the session's link and displays.
    TBasicInf(Session &session, SettingsTable &table);

    // "Read Settings": asks the operator first; only "OK(&Y)" starts the read.
    void ReadSettings();
    // The read itself, from page 1, without asking.
    void StartRead();
    // "Save Settings": the table's checks first, then the review of the changes, which the
    // operator may decline.
    void SaveSettings();
    // The review before a save, and the backup written just before its first page.
    SettingsSaveGuard &saveGuard() { return guard; }
    // The next saves write both pages, whatever the device is known to hold.
    void setWriteAllPages(bool all) { writeAll = all; }

    void RequestNext() override;
    void RequestPage(uint16_t p);
    void SendNext() override;
    void SendPage(uint16_t p);
    void DecodeReply() override;

private:
    enum class Phase { Read, Write, ReadBack };
    // Both pages as a save writes them from the table.
    QList<QByteArray> pagesOf();
    void readBackNext();
    void deviceHoldsTable();

    Operator &op;
    OperationOutcome &outcome;
    Tstatusbar_ctrl &status;
    Tprogressbar_ctrl &progress;
    SettingsTable &table;
    SettingsArea area;
    SettingsSaveGuard guard;
    PagedSave save;
    Phase phase = Phase::Read;
    bool writeAll = false;
    // The device's pages as last read or saved; they hold for the opening of the port knownOn.
    QList<QByteArray> held = QList<QByteArray>(2);
    // The opening of the port on which `held` is what the device holds; 0: not known.
    quint64 knownOn = 0;
    PartialRead partial;
};
