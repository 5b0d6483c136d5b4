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
    const int n = int(captions.size());
    return {
        n,
        (n == 1 ? QStringLiteral("%1 setting changed.") : QStringLiteral("%1 settings changed."))
            .arg(n),
        captions.join(u'\n')};
}

void SettingsSaveGuard::keepDeviceCopy() {
    if (!copy)
        copy = std::make_unique<SettingsTable>();
    copy->copyContentFrom(table);
    table.markBaseline();
}

void SettingsSaveGuard::forgetDeviceCopy() {
    copy.reset();
    table.setBaselineFrom(SettingsTable());
}

bool SettingsSaveGuard::saveDeviceCopy(const QString &path) {
    return Tcustomstringgrid_basis(*copy, quiet, quietStatus, quietProgress, QString())
        .saveProfile(path);
}
