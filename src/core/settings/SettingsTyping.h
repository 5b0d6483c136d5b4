#pragma once

#include "exchange/CodePage.h"

#include <QString>

// The checks the settings grid's editor makes after every change of a value cell. The view's
// editor hands over the cell's new text and applies the outcome; keeping the rules here lets
// the window, the terminal front and the tests share them.
namespace SettingsTyping {

struct Rule {
    bool choice = false;     // typed text is removed at once
    bool digitsOnly = false; // a non-digit entering the cell is dropped
    int byteLimit = 0;       // 0: no limit
    int rowOnLimit = -1;     // the row selected on reaching the limit, or after a choice row
};

struct Outcome {
    QString text;         // what the cell holds afterwards
    int selectRow = -1;   // the row to select now; -1 keeps the selection
    bool changed = false; // text differs from what was typed
    QString refusal;      // why a character the code page cannot hold went; empty otherwise
};

Rule ruleFor(int row);

// The operator changed the cell from `before` to `after`, a key typed or a text pasted anywhere
// in it, which left the cursor at `cursor` (just after what entered). Only what entered the
// cell is tested, so a "+" put there by a read stays. In a digits-only row a typed non-digit
// goes, and a pasted text keeps its digits, in order. In every row a character the code page
// cannot hold goes, as the device could not keep it, and the outcome says why.
// Lengths are bytes in the code page: a two-byte character counts 2.
Outcome textEdited(int row, const QString &before, const QString &after, qsizetype cursor,
                   const CodePage &codePage = CodePage::current());

// `typed` is the cell's text after one character was typed at its end.
Outcome textChanged(int row, const QString &typed, const CodePage &codePage = CodePage::current());

// What the cell keeps when `value` is typed into it, empty, character by character; typing
// ends where the rules move the selection to another row. A choice row keeps nothing.
QString typeIntoEmptyCell(int row, const QString &value,
                          const CodePage &codePage = CodePage::current());

} // namespace SettingsTyping
