#include "numbers/NumberSaveGuard.h"

#include "numbers/NumberListChanges.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberListWarnings.h"

NumberSaveGuard::NumberSaveGuard(Operator &op, NumberTable &table)
    : SaveGuard(op, QStringLiteral("numbers"))
    , table(table) {}

SaveGuard::Changes NumberSaveGuard::changes() const {
    const NumberListChanges c = NumberListChanges::of(table);
    return {c.count(), c.counts(),
            NumberListWarnings::addTo(c.details(), table, QDateTime::currentDateTime())};
}

void NumberSaveGuard::keepDeviceCopy() {
    if (!copy)
        copy = std::make_unique<NumberTable>();
    copy->copyCellsFrom(table);
    table.markBaseline();
}

void NumberSaveGuard::forgetDeviceCopy() {
    copy.reset();
    table.setBaselineFrom(NumberTable());
}

bool NumberSaveGuard::saveDeviceCopy(const QString &path) {
    return NumberListExchange(*copy, quiet, quietStatus, quietProgress, QString())
        .saveWorkbook(path);
}
