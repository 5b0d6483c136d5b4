#include "numbers/NumberListChanges.h"

#include "numbers/NumberTable.h"

NumberListChanges NumberListChanges::of(const NumberTable &table) {
    NumberListChanges out;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        if (!table.isRowChanged(r))
            continue;
        const QString serial = table.cell(NumberTable::Serial, r);
        const bool heldNumber = !table.baselineCell(NumberTable::Number, r).isEmpty();
        const bool holdsNumber = !table.cell(NumberTable::Number, r).isEmpty();
        const bool marked = table.cell(NumberTable::Delete, r) == QLatin1String("yes");
        // A slot empty before and empty after is no entry, whatever its marks and window say
        // ("All Always" and "Delete all" touch every slot).
        if (!heldNumber && (!holdsNumber || marked))
            continue;
        if (!heldNumber)
            out.added << serial;
        else if (!holdsNumber || marked)
            out.deleted << serial;
        else
            out.changed << serial;
    }
    return out;
}

QString NumberListChanges::counts() const {
    return (added.size() == 1 ? QStringLiteral("%1 entry added, %2 changed, %3 deleted.")
                              : QStringLiteral("%1 entries added, %2 changed, %3 deleted."))
        .arg(added.size())
        .arg(changed.size())
        .arg(deleted.size());
}

QString NumberListChanges::details() const {
    QStringList lines;
    const auto group = [&lines](const char *kind, const QStringList &serials) {
        if (!serials.isEmpty())
            lines << QLatin1String(kind) + QStringLiteral(": ") +
                         serials.join(QStringLiteral(", "));
    };
    group("Added", added);
    group("Changed", changed);
    group("Deleted", deleted);
    return lines.join(u'\n');
}
