#pragma once

#include <QStringList>

class NumberTable;

// The entries of the number list that differ from its baseline, by serial: added (a slot that
// held no number now holds one), deleted (its number is gone or its Delete mark is set), and
// changed (any other difference).
struct NumberListChanges {
    QStringList added;
    QStringList changed;
    QStringList deleted;

    static NumberListChanges of(const NumberTable &table);

    int count() const { return int(added.size() + changed.size() + deleted.size()); }
    // "N entries added, M changed, K deleted."
    QString counts() const;
    // One line per kind that has entries, e.g. "Changed: 1, 2".
    QString details() const;
};
