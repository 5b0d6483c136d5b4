#pragma once

#include "exchange/CodePage.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class SettingsTable;

// The device's settings area: two 256-byte pages at device addresses 0x000 and 0x100, built
// from the settings table and read back into it. The layout is the device's, not the table's:
// rows 8/9 and 15/16/17 are swapped around, row 10 is stored twice, and the GPRS user name
// (row 21) starts in the last two bytes of page 1 and goes on in page 2.
class SettingsArea {
public:
    static constexpr int PageSize = 256;
    // Page 1 holds rows 1 to 21 (row 21 only in part); page 2 the rest of 21 and row 22.
    static constexpr int LastRowOnPage1 = 21;

    explicit SettingsArea(SettingsTable &table);

    // The password must be digits only, and every number row must convert to an integer that
    // fits the device's 16-bit field. Returns the message for the first cell that does not, in
    // the order the page is built; empty when all are fine. A save runs this before it sends
    // anything.
    QString checkNumbers() const;
    // Every row stored as code-page bytes must convert whole: a character the code page cannot
    // hold would reach the device as a substitute byte. The message names the first such row
    // and character; empty when all convert.
    QString checkTexts(const CodePage &codePage) const;
    // What a save checks before it asks or sends anything: the numbers, then the texts.
    QString checkBeforeSave(const CodePage &codePage) const;

    // Fill a whole page; bytes no field covers, and the rest of every field, are 0xFF. Number
    // cells are expected to have passed checkNumbers.
    void encodePage1(uint8_t *page, const CodePage &codePage) const;
    void encodePage2(uint8_t *page, const CodePage &codePage) const;

    // Told the progress of a page's decoding at its fixed steps.
    using Progress = std::function<void(quint16 percent)>;

    // Put a page's parameters into the table and its choice lists (showing the lists).
    void decodePage1(const uint8_t *page, const CodePage &codePage, const Progress &progress = {});
    // Appends page 2's part of the user name to what page 1 left in row 21.
    void decodePage2(const uint8_t *page, const CodePage &codePage, const Progress &progress = {});

private:
    SettingsTable &table;
    // The user name bytes page 1 held, so a two-byte character split over the pages joins up.
    QByteArray userNameHead;
};
