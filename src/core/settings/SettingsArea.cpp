#include "SettingsArea.h"

#include "SettingsTable.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int TextSize = 40;
constexpr int UserNameSize = 16;
constexpr int UserNameOnPage1 = 2;

// Number rows in the order the page is built, so the first bad one is the one reported.
constexpr int NumberRows[] = {7, 10, 17, 15, 16, 19};
// Rows whose cells reach the device as code-page bytes, in the order the pages are built.
constexpr int TextRows[] = {2, 5, 6, 13, 14, 18, 20, 21, 22};

void put(uint8_t *page, int offset, const QByteArray &bytes) {
    std::memcpy(page + offset, bytes.constData(), size_t(bytes.size()));
}

// The characters of the cell, then one 0 byte when shorter than the field; empty stays 0xFF.
void putDigits(uint8_t *page, int offset, int size, const QString &text, const CodePage &cp) {
    const QByteArray bytes = cp.encodeCut(text, size);
    if (bytes.isEmpty())
        return;
    put(page, offset, bytes);
    if (bytes.size() < size)
        page[offset + bytes.size()] = 0;
}

// Code-page bytes, 0-terminated when shorter than the field; an empty text is a lone 0.
void putText(uint8_t *page, int offset, const QString &text, const CodePage &cp) {
    const QByteArray bytes = cp.encodeCut(text, TextSize);
    put(page, offset, bytes);
    if (bytes.size() < TextSize)
        page[offset + bytes.size()] = 0;
}

// A number cell as a decimal integer; false when it is not one.
bool parseNumber(const QString &text, qlonglong &value) {
    bool ok = false;
    value = text.toLongLong(&ok, 10);
    return ok;
}

// Low byte first; an empty cell leaves both bytes 0xFF, which reads back as 65535.
void putNumber(uint8_t *page, int offset, const QString &text) {
    qlonglong value = 0;
    if (text.isEmpty() || !parseNumber(text, value))
        return;
    page[offset] = uint8_t(value & 0xFF);
    page[offset + 1] = uint8_t((value >> 8) & 0xFF);
}

void putChoice(uint8_t *page, int offset, int index) {
    page[offset] = index < 0 ? 0xFF : uint8_t(index);
}

QByteArray takeWhile(const uint8_t *field, int size, auto keep) {
    int n = 0;
    while (n < size && keep(field[n]))
        ++n;
    return QByteArray(reinterpret_cast<const char *>(field), n);
}

QString digitsAt(const uint8_t *page, int offset, int size) {
    return QString::fromLatin1(takeWhile(
        page + offset, size, [](uint8_t b) { return b == '+' || (b >= '0' && b <= '9'); }));
}

QString textAt(const uint8_t *page, int offset, const CodePage &cp) {
    return cp.decode(takeWhile(page + offset, TextSize, [](uint8_t b) { return b != 0; }));
}

QByteArray paddedAt(const uint8_t *page, int offset, int size) {
    return takeWhile(page + offset, size, [](uint8_t b) { return b != 0xFF; });
}

QString numberAt(const uint8_t *page, int offset) {
    return QString::number(page[offset] | (page[offset + 1] << 8));
}

} // namespace

SettingsArea::SettingsArea(SettingsTable &table)
    : table(table) {}

QString SettingsArea::checkNumbers() const {
    // The password leads page 1; the device takes digits only there.
    const QString password = table.value(1);
    if (!std::all_of(password.begin(), password.end(),
                     [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QStringLiteral("Row 1 \"%1\": %2 does not fit the device; the allowed characters "
                              "are the digits 0 to 9.")
            .arg(table.cell(SettingsTable::CaptionColumn, 1), password);
    for (int row : NumberRows) {
        const QString text = table.value(row);
        if (text.isEmpty())
            continue;
        qlonglong value = 0;
        if (!parseNumber(text, value))
            return QStringLiteral("'%1' is not a valid integer value").arg(text);
        // Only the low 16 bits would reach the device: refuse rather than store another value.
        if (value < 0 || value > 0xFFFF)
            return QStringLiteral("Row %1 \"%2\": %3 does not fit the device; the allowed "
                                  "range is 0 to 65535.")
                .arg(row)
                .arg(table.cell(SettingsTable::CaptionColumn, row))
                .arg(text);
    }
    return {};
}

QString SettingsArea::checkTexts(const CodePage &cp) const {
    for (int row : TextRows) {
        const QString text = table.value(row);
        const qsizetype at = cp.firstUnheld(text);
        if (at >= 0)
            return QStringLiteral("Row %1 \"%2\": %3, so the device cannot hold this text. "
                                  "Nothing was sent.")
                .arg(row)
                .arg(table.cell(SettingsTable::CaptionColumn, row), cp.unheldText(text, at));
    }
    return {};
}

QString SettingsArea::checkBeforeSave(const CodePage &cp) const {
    const QString numbers = checkNumbers();
    return numbers.isEmpty() ? checkTexts(cp) : numbers;
}

void SettingsArea::encodePage1(uint8_t *page, const CodePage &cp) const {
    std::fill_n(page, PageSize, uint8_t(0xFF));
    putDigits(page, 0, 4, table.value(1), cp);
    putDigits(page, 4, 22, table.value(2), cp);
    putChoice(page, 26, table.choiceIndex(3));
    putChoice(page, 27, table.choiceIndex(4));
    putText(page, 28, table.value(5), cp);
    putText(page, 68, table.value(6), cp);
    putNumber(page, 108, table.value(7));
    putChoice(page, 110, table.choiceIndex(9));
    putChoice(page, 111, table.choiceIndex(8));
    putNumber(page, 112, table.value(10));
    putNumber(page, 114, table.value(10));
    putChoice(page, 116, table.choiceIndex(11));
    putChoice(page, 117, table.choiceIndex(12));
    putText(page, 118, table.value(13), cp);
    putText(page, 158, table.value(14), cp);
    putNumber(page, 198, table.value(17));
    putNumber(page, 200, table.value(15));
    putNumber(page, 202, table.value(16));
    put(page, 204, cp.encodeCut(table.value(18), 32));
    putNumber(page, 236, table.value(19));
    put(page, 238, cp.encodeCut(table.value(20), 16));
    put(page, 254, cp.encodeCut(table.value(21), UserNameSize).left(UserNameOnPage1));
}

void SettingsArea::encodePage2(uint8_t *page, const CodePage &cp) const {
    std::fill_n(page, PageSize, uint8_t(0xFF));
    put(page, 0, cp.encodeCut(table.value(21), UserNameSize).mid(UserNameOnPage1));
    put(page, 14, cp.encodeCut(table.value(22), 16));
}

void SettingsArea::decodePage1(const uint8_t *page, const CodePage &cp, const Progress &progress) {
    table.setValue(1, digitsAt(page, 0, 4));
    table.setValue(2, digitsAt(page, 4, 22));
    table.showChoice(3);
    table.showChoice(4);
    table.setChoiceIndex(3, page[26]);
    table.setChoiceIndex(4, page[27]);
    table.setValue(5, textAt(page, 28, cp));
    table.setValue(6, textAt(page, 68, cp));
    table.setValue(7, numberAt(page, 108));
    table.setChoiceIndex(9, page[110]);
    table.setChoiceIndex(8, page[111]);
    table.showChoice(9);
    table.showChoice(8);
    // Both copies of row 10 are read; the second is what stays.
    table.setValue(10, numberAt(page, 112));
    table.setValue(10, numberAt(page, 114));
    table.setChoiceIndex(11, page[116]);
    if (progress)
        progress(40);
    table.setChoiceIndex(12, page[117]);
    table.showChoice(11);
    table.showChoice(12);
    table.setValue(13, textAt(page, 118, cp));
    table.setValue(14, textAt(page, 158, cp));
    table.setValue(17, numberAt(page, 198));
    table.setValue(15, numberAt(page, 200));
    table.setValue(16, numberAt(page, 202));
    table.setValue(18, cp.decode(paddedAt(page, 204, 32)));
    table.setValue(19, numberAt(page, 236));
    table.setValue(20, cp.decode(paddedAt(page, 238, 16)));
    userNameHead = paddedAt(page, 254, UserNameOnPage1);
    table.setValue(21, cp.decode(userNameHead));
}

void SettingsArea::decodePage2(const uint8_t *page, const CodePage &cp, const Progress &progress) {
    // Join at the byte level, so a character split over the pages comes back whole; if the
    // cell was changed since page 1, its own text is what gets appended to.
    const QString head = table.value(21);
    QByteArray name = head == cp.decode(userNameHead) ? userNameHead : cp.encode(head);
    name += paddedAt(page, 0, UserNameSize - UserNameOnPage1);
    table.setValue(21, cp.decode(name));
    userNameHead.clear();
    if (progress)
        progress(90);
    table.setValue(22, cp.decode(paddedAt(page, 14, 16)));
}
