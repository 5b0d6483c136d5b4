#include "settings/SettingsSaveGuard.h"

#include "settings/Tcustomstringgrid_basis.h"

SettingsSaveGuard::SettingsSaveGuard(Operator &op, SettingsTable &table)
    : SaveGuard(op, QStringLiteral("settings"))
    , table(table) {}

SaveGuard::Changes SettingsSaveGuard::changes() const {
    QStringList captions;
    for (int row = 1; row <= SettingsTable::ParameterCount; ++row)
        if (table.isRowChanged(row))
            captions << table.cell(SettingsTable::CaptionColumn, row);
    return {int(captions.size()), QStringLiteral("%1 settings changed.").arg(captions.size()),
            captions.join(u'\n')};
}

void SettingsSaveGuard::keepDeviceCopy() {
    if (!copy)
        copy = std::make_unique<SettingsTable>();
    copy->copyContentFrom(table);
    table.markBaseline();
}

bool SettingsSaveGuard::saveDeviceCopy(const QString &path) {
    return Tcustomstringgrid_basis(*copy, quiet, quietStatus, quietProgress, QString())
        .saveProfile(path);
}
