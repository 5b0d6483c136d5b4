#pragma once

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
// previous reply. One instance lives for the whole run.
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

    void RequestNext() override;
    void RequestPage(uint16_t p);
    void SendNext() override;
    // False when the page could not be built: a number cell the device cannot hold. The reason
    // has been shown and nothing was sent.
    bool SendPage(uint16_t p);
    void EncodePage1();
    void EncodePage2();
    void DecodeReply() override;

private:
    Operator &op;
    OperationOutcome &outcome;
    Tstatusbar_ctrl &status;
    Tprogressbar_ctrl &progress;
    SettingsTable &table;
    SettingsArea area;
    SettingsSaveGuard guard;
    PartialRead partial;
};
