#include "settings/SettingsDiff.h"

#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"

namespace SettingsDiff {

AreaDifferences between(const SettingsTable &device, const SettingsTable &file) {
    SettingsTable given;
    given.copyContentFrom(file);
    SettingsTable stored;
    SettingsArea fileArea(given);
    if (fileArea.checkNumbers().isEmpty()) {
        uint8_t pages[2][SettingsArea::PageSize];
        const CodePage codePage = CodePage::current();
        fileArea.encodePage1(pages[0], codePage);
        fileArea.encodePage2(pages[1], codePage);
        SettingsArea storedArea(stored);
        storedArea.decodePage1(pages[0], codePage);
        storedArea.decodePage2(pages[1], codePage);
    } else {
        stored.copyContentFrom(file);
    }
    AreaDifferences out;
    for (int row = 1; row <= SettingsTable::ParameterCount; ++row) {
        const QString deviceText = device.parameterText(row);
        const QString fileText = stored.parameterText(row);
        if (deviceText != fileText)
            out << AreaDifference{QString::number(row), deviceText, fileText};
    }
    return out;
}

} // namespace SettingsDiff
