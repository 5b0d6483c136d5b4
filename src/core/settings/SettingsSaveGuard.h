#pragma once

#include "backup/SaveGuard.h"
#include "settings/SettingsTable.h"

#include <memory>

// The review and the backup of the settings' saves (backup_settings_...xlsx, the layout of
// "Export profile").
class SettingsSaveGuard : public SaveGuard {
public:
    SettingsSaveGuard(Operator &op, SettingsTable &table);

protected:
    Changes changes() const override;
    void keepDeviceCopy() override;
    void forgetDeviceCopy() override;
    bool saveDeviceCopy(const QString &path) override;

private:
    SettingsTable &table;
    // The settings as last read from the device in this run; made at the first read.
    std::unique_ptr<SettingsTable> copy;
};
