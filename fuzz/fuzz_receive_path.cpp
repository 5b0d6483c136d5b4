#include "ProtocolHarness.h"
#include "ReplyScan.h"
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
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

// Bytes from the device through the real receive path into the real transfers. The first input
// byte picks the request outstanding, or none; the rest arrives as the link hands it over and is
// taken byte by byte. The timers are started but never fire: the event loop never runs, only
// its posted events are delivered after each input.
//
// Beyond crashes: an operation may end in success only when the input holds, in order, a whole
// well-formed reply to every request it sent.

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

// The number list save as the operator starts it: its checks, review and plan of the pages to
// write come first. Every input starts from the same table, so the first input's plan holds for
// all: later ones send it again instead of checking, reviewing and encoding 3000 rows each.
struct NumberListTransfer : TtelephoneSend {
    using TtelephoneSend::TtelephoneSend;
    bool planned = false;
    void startSave() {
        if (std::exchange(planned, true))
            return sendPlannedSave();
        setWriteAllPages(true);
        SaveList();
    }
};

// The engine and the transfers live for the whole run; each input leaves them as it found
// them: no operation running, no request sent, the tables as they were. It does so before it
// returns, so that whatever an input allocates is freed by then and a leak shows as one. A
// settings transfer that succeeded keeps the device copy that a later save would back up: it is
// made anew after such an input (a whole settings read or save fits in one).
struct Rig {
    Tables &t = tables();
    ProtocolHarness h;
    SettingsTable settings;
    SettingsTable pristineSettings;
    std::optional<TBasicInf> basic;
    NumberListTransfer numbers{h.sender, h.op, h.outcome, t.numbers};
    THistoryInf history{h.sender, h.op, h.outcome, h.status, t.history};
    Tsingalcmd checkingMode{h.sender, CommandCodes::CheckingMode};
    Tsingalcmd deleteHistory{h.sender, CommandCodes::DeleteHistory};
    Tsynchronizationtime_sc timeSync{h.sender, CommandCodes::TimeSync};

    Rig() {
        newSettingsTransfer();
        h.receive.transfers.numbers = &numbers;
        h.receive.transfers.history = &history;
        timeSync.setClock([] { return QDateTime(QDate(2024, 5, 17), QTime(12, 30, 45)); });
    }

    void newSettingsTransfer() {
        basic.emplace(h.sender, h.op, h.outcome, h.status, h.progress, settings);
        h.receive.transfers.basic = &*basic;
    }

    void reset(Request r) {
        if (h.outcome.running())
            h.outcome.failed(QStringLiteral("End of input"));
        // What is left for the event loop (a partly-read note) is delivered, as the loop would,
        // so that it cannot pile up over the run.
        QCoreApplication::sendPostedEvents();
        // Only a read changes its table, decoding into the rows of the page last requested or an
        // earlier one; a save's read-back only compares.
        if (r == Request::NumbersRead && numbers.PageIndex > 1)
            restoreRows(t.numbers, t.pristineNumbers, 1, 8 * numbers.PageIndex);
        if (r == Request::HistoryRead && history.PageIndex > 1)
            restoreRows(t.history, t.pristineHistory, 1, 2 * history.PageIndex);
        if (r == Request::SettingsRead && basic->PageIndex > 1)
            restoreRows(settings, pristineSettings, 1, settings.rows() - 1);
        numbers.PageIndex = numbers.PageCount = 0;
        history.PageIndex = history.PageCount = 0;
        basic->PageIndex = basic->PageCount = 0;
        if ((r == Request::SettingsRead || r == Request::SettingsSave) && succeeded())
            newSettingsTransfer();
        h.op.clearHistory();
        h.sent.clear();
        h.outcomes.clear();
    }

    bool succeeded() const {
        return std::any_of(h.outcomes.begin(), h.outcomes.end(),
                           [](const auto &o) { return o.first; });
    }

    void start(Request r) {
        switch (r) {
        case Request::None:
        case Request::Count:
            break;
        case Request::SettingsRead:
            return basic->StartRead();
        case Request::SettingsSave:
            return basic->SaveSettings();
        case Request::NumbersRead:
            return numbers.StartRead();
        case Request::NumbersSave:
            return numbers.startSave();
        case Request::HistoryRead:
            return history.StartRead();
        case Request::Login:
            // As a login does: the password comes with the reply to a settings page 1 read.
            h.password.setTypedPassword(QStringLiteral("1234"));
            h.password.setPending(true);
            return h.request(CommandCodes::ReadPage, 0);
        case Request::TimeSync:
            return timeSync.Send();
        case Request::CheckingMode:
            return checkingMode.Send();
        case Request::DeleteHistory:
            return deleteHistory.Send();
        }
    }

    // Every success must rest on replies the input really holds.
    void checkSuccesses(const uint8_t *bytes, size_t size, bool login) const {
        if (!succeeded())
            return;
        if (h.sent.isEmpty()) {
            std::fprintf(stderr, "success reported with no request sent\n");
            std::abort();
        }
        ReplyScan scan(bytes, size);
        for (const QByteArray &request : h.sent) {
            if (scan.next(request, login))
                continue;
            std::fprintf(stderr, "success reported without a reply to request %s\n",
                         request.toHex(' ').constData());
            std::abort();
        }
    }
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
    static Rig rig;
    const Request request = Request(data[0] % uint8_t(Request::Count));
    rig.start(request);

    const char *bytes = reinterpret_cast<const char *>(data + 1);
    size_t left = size - 1;
    while (left > 0) {
        const quint16 n = quint16(std::min<size_t>(left, 0xFFFF));
        rig.h.receive.cm1ReceiveData(nullptr, bytes, n);
        bytes += n;
        left -= n;
    }
    rig.checkSuccesses(data + 1, size - 1, request == Request::Login);
    rig.reset(request);
    return 0;
}
