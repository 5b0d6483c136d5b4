#include "numbers/NumberListDiff.h"

#include "numbers/NumberRecord.h"
#include "numbers/NumberTable.h"

namespace NumberListDiff {

QString entryText(const NumberTable &table, int row) {
    const QString number = table.cell(NumberTable::Number, row);
    if (number.isEmpty() || table.cell(NumberTable::Delete, row) == QLatin1String("yes"))
        return {};
    if (table.cell(NumberTable::Always, row) == QLatin1String("yes"))
        return number + QStringLiteral(" Always");
    return QStringLiteral("%1 %2 %3 - %4 %5")
        .arg(number, table.cell(NumberTable::StartDate, row),
             table.cell(NumberTable::StartTime, row), table.cell(NumberTable::EndDate, row),
             table.cell(NumberTable::EndTime, row));
}

AreaDifferences between(const NumberTable &device, const NumberTable &file) {
    AreaDifferences out;
    NumberTable stored;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        // A row the device could not hold as it stands is shown as the file has it.
        QString fileText = entryText(file, r);
        if (NumberRecord::rowIsWritable(file, r)) {
            uint8_t record[NumberRecord::Size];
            NumberRecord::encode(file, r, record);
            NumberRecord::decode(record, stored, r);
            fileText = entryText(stored, r);
        }
        const QString deviceText = entryText(device, r);
        if (deviceText != fileText)
            out << AreaDifference{device.cell(NumberTable::Serial, r), deviceText, fileText};
    }
    return out;
}

} // namespace NumberListDiff
