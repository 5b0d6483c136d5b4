#pragma once

#include "operator/QuietOperator.h"

namespace bench {

// An operator that shows nothing and answers every question with yes.
class SilentOperator : public QuietOperator {
public:
    bool confirm(const QString &, const QString &, const QString &, const QString &,
                 Icon) override {
        return true;
    }
    bool warnOkCancel(const QString &, const QString &) override { return true; }
};

} // namespace bench
