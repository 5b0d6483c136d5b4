#include "TableRows.h"
#include "exchange/CodePage.h"
#include "history/HistoryRecord.h"
#include "history/HistoryTable.h"
#include "numbers/NumberRecord.h"
#include "numbers/NumberTable.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The decoders of the device's pages on arbitrary bytes: the first input byte picks the page kind
// and the code page (single- or two-byte), the rest is the page, cut or padded with 0xFF to its
// size. A number row the device could hold is encoded back, as a save after a read would.

namespace {

enum class Page { Settings, Numbers, History, Count };

void decodeSettings(const uint8_t *pages, const CodePage &codePage) {
    // Like the big tables, the settings table lives for the run beside an untouched twin.
    static SettingsTable table;
    static const SettingsTable pristine;
    SettingsArea area(table);
    area.decodePage1(pages, codePage, [](quint16) {});
    area.decodePage2(pages + SettingsArea::PageSize, codePage, [](quint16) {});
    table.copyContentFrom(pristine);
}

void decodeNumbers(const uint8_t *page) {
    Tables &t = tables();
    uint8_t record[NumberRecord::Size];
    for (int k = 0; k < NumberRecord::PerPage; ++k) {
        NumberRecord::decode(page + k * NumberRecord::Size, t.numbers, k + 1);
        if (NumberRecord::rowIsWritable(t.numbers, k + 1))
            NumberRecord::encode(t.numbers, k + 1, record);
    }
    restoreRows(t.numbers, t.pristineNumbers, 1, NumberRecord::PerPage);
}

void decodeHistory(const uint8_t *page, const CodePage &codePage) {
    Tables &t = tables();
    for (int k = 0; k < HistoryRecord::PerPage; ++k)
        HistoryRecord::decode(page + k * HistoryRecord::Size, t.history, k + 1, codePage);
    restoreRows(t.history, t.pristineHistory, 1, HistoryRecord::PerPage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const CodePage codePage(data[0] & 0x80 ? 936 : 1252);
    // Two settings pages; the other kinds use the first 256 bytes.
    uint8_t pages[2 * SettingsArea::PageSize];
    std::fill(std::begin(pages), std::end(pages), uint8_t(0xFF));
    std::copy(data + 1, data + std::min(size, sizeof pages + 1), pages);
    switch (Page((data[0] & 0x7F) % int(Page::Count))) {
    case Page::Settings:
        decodeSettings(pages, codePage);
        break;
    case Page::Numbers:
        decodeNumbers(pages);
        break;
    case Page::History:
        decodeHistory(pages, codePage);
        break;
    case Page::Count:
        break;
    }
    return 0;
}
