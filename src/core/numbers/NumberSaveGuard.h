#pragma once

#include "backup/SaveGuard.h"
#include "numbers/NumberTable.h"

// The review and the backup of the number list's saves (backup_numbers_...xlsx, the layout of
// "Export .XLS").
class NumberSaveGuard : public SaveGuard {
public:
    NumberSaveGuard(Operator &op, NumberTable &table);

    // The list as last read from the device in this run.
    const NumberTable &deviceCopy() const { return copy; }

protected:
    Changes changes() const override;
    void keepDeviceCopy() override;
    bool saveDeviceCopy(const QString &path) override;

private:
    NumberTable &table;
    NumberTable copy;
};
