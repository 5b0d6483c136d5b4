#include "numbers/NumberListRowCheck.h"

#include "exchange/SheetCells.h"
#include "numbers/FaultySerials.h"
#include "numbers/NumberTable.h"
#include "numbers/NumberWindowText.h"

namespace {

bool isFaulty(const SheetCells &sheet, int row) {
    const QLatin1String yes("yes");
    if (sheet.displayed(row, 2).isEmpty() || sheet.displayed(row, 7) == yes ||
        sheet.displayed(row, 8) == yes)
        return false;
    using namespace NumberWindowText;
    return !isImportDate(sheet.value(row, 3)) || !isImportTime(sheet.value(row, 4)) ||
           !isImportDate(sheet.value(row, 5)) || !isImportTime(sheet.value(row, 6));
}

} // namespace

namespace NumberListRowCheck {

QString problems(const SheetCells &sheet) {
    FaultySerials entries;
    for (int entry = 1; entry <= NumberTable::EntryCount; ++entry) {
        // The entry's own serial counts, whatever the sheet's serial column holds.
        if (isFaulty(sheet, entry + 1))
            entries.add(QString::number(entry));
    }
    return entries.message(QStringLiteral("Wrong information on the profile,please correct it "
                                          "and then import again,error:"),
                           QStringLiteral("Serial: "));
}

} // namespace NumberListRowCheck
