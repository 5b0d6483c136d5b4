#pragma once

#include "backup/SaveGuard.h"
#include "numbers/NumberTable.h"

#include <memory>

// The review and the backup of the number list's saves (backup_numbers_...xlsx, the layout of
// "Export .XLS").
class NumberSaveGuard : public SaveGuard {
public:
    NumberSaveGuard(Operator &op, NumberTable &table);

protected:
    Changes changes() const override;
    void keepDeviceCopy() override;
    void forgetDeviceCopy() override;
    bool saveDeviceCopy(const QString &path) override;

private:
    NumberTable &table;
    // The list as last read from the device in this run; made at the first read, as most runs
    // never read the list.
    std::unique_ptr<NumberTable> copy;
};
