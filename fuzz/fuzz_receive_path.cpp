#include "ProtocolHarness.h"
#include "TableRows.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "protocol/CommandCodes.h"
#include "protocol/Tsingalcmd.h"
#include "protocol/Tsynchronizationtime_sc.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <cstddef>
#include <cstdint>

// Bytes from the device through the real receive path into the real transfers. The first input
// byte picks the request outstanding, or none; the rest arrives as the link hands it over and is
// taken byte by byte. The timers are started but never fire: the event loop never runs.

namespace {

enum class Request {
    None,
    SettingsRead,
    SettingsSave,
    NumbersRead,
    NumbersSave,
    HistoryRead,
    Login,
    TimeSync,
    CheckingMode,
    DeleteHistory,
    Count
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    // The timers need the main thread's event dispatcher.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    Tables &t = tables();
    ProtocolHarness h;
    SettingsTable settings;
    TBasicInf basic{h.sender, h.op, h.outcome, h.status, h.progress, settings};
    TtelephoneSend numbers{h.sender, h.op, h.outcome, t.numbers};
    THistoryInf history{h.sender, h.op, h.outcome, h.status, t.history};
    h.receive.transfers = {&basic, &numbers, &history};
    Tsingalcmd checkingMode{h.sender, CommandCodes::CheckingMode};
    Tsingalcmd deleteHistory{h.sender, CommandCodes::DeleteHistory};
    Tsynchronizationtime_sc timeSync{h.sender, CommandCodes::TimeSync};
    timeSync.setClock([] { return QDateTime(QDate(2024, 5, 17), QTime(12, 30, 45)); });

    switch (Request(data[0] % uint8_t(Request::Count))) {
    case Request::None:
    case Request::Count:
        break;
    case Request::SettingsRead:
        basic.StartRead();
        break;
    case Request::SettingsSave:
        basic.SaveSettings();
        break;
    case Request::NumbersRead:
        numbers.StartRead();
        break;
    case Request::NumbersSave:
        numbers.SaveList();
        break;
    case Request::HistoryRead:
        history.StartRead();
        break;
    case Request::Login:
        // As a login does: the password comes with the reply to a settings page 1 read.
        h.password.setTypedPassword(QStringLiteral("1234"));
        h.password.setPending(true);
        h.request(CommandCodes::ReadPage, 0);
        break;
    case Request::TimeSync:
        timeSync.Send();
        break;
    case Request::CheckingMode:
        checkingMode.Send();
        break;
    case Request::DeleteHistory:
        deleteHistory.Send();
        break;
    }

    const char *bytes = reinterpret_cast<const char *>(data + 1);
    size_t left = size - 1;
    while (left > 0) {
        const quint16 n = quint16(std::min<size_t>(left, 0xFFFF));
        h.receive.cm1ReceiveData(nullptr, bytes, n);
        bytes += n;
        left -= n;
    }

    // A read reply decodes into the rows of the page last requested or an earlier one.
    if (numbers.PageIndex > 1)
        restoreRows(t.numbers, t.pristineNumbers, 1, 8 * numbers.PageIndex);
    if (history.PageIndex > 1)
        restoreRows(t.history, t.pristineHistory, 1, 2 * history.PageIndex);
    return 0;
}
