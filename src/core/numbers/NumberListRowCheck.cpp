#include "numbers/NumberListRowCheck.h"

#include "exchange/SheetCells.h"
#include "numbers/FaultySerials.h"
#include "numbers/NumberTable.h"

namespace {

// As the conversion the check stands for reads integers: leading blanks, an optional sign, then
// decimal digits to the end.
bool isInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return true;
}

// Year (characters 3-4), month (6-7) and day (the last two) of a date.
bool isDate(QStringView text) {
    return text.size() == 10 && isInteger(text.mid(5, 2)) && isInteger(text.right(2)) &&
           isInteger(text.mid(2, 2));
}

// Hour (the first two characters) and minute (the last two) of a time.
bool isTime(QStringView text) {
    return text.size() == 5 && isInteger(text.left(2)) && isInteger(text.right(2));
}

bool isFaulty(const SheetCells &sheet, int row) {
    const QLatin1String yes("yes");
    if (sheet.displayed(row, 2).isEmpty() || sheet.displayed(row, 7) == yes ||
        sheet.displayed(row, 8) == yes)
        return false;
    return !isDate(sheet.value(row, 3)) || !isTime(sheet.value(row, 4)) ||
           !isDate(sheet.value(row, 5)) || !isTime(sheet.value(row, 6));
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
