#include "protocol/PartialRead.h"

#include "operator/Operator.h"
#include "protocol/OperationOutcome.h"

#include <QTimer>
#include <utility>

PartialRead::PartialRead(OperationOutcome &outcome, Operator &op, QString grid)
    : op(op)
    , grid(std::move(grid)) {
    watch = QObject::connect(&outcome, &OperationOutcome::ended,
                             [this](bool ok, const QString &) { ended(ok); });
}

PartialRead::~PartialRead() {
    QObject::disconnect(watch);
}

void PartialRead::started(int pageCount) {
    reading = true;
    pages = pageCount;
    pagesRead = 0;
}

void PartialRead::ended(bool ok) {
    // Every operation's end passes here; only the end of this read counts.
    if (!std::exchange(reading, false) || ok || pagesRead == 0)
        return;
    const QString text = QStringLiteral("Partly read: %1 of %2 pages of %3 came from the device; "
                                        "the other rows are as they were.")
                             .arg(pagesRead)
                             .arg(pages)
                             .arg(grid);
    // After the ending operation has tidied the panel up (a timeout clears it).
    QTimer::singleShot(0, &context, [this, text] { op.setStatusText(text); });
}
