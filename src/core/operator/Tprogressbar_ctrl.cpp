#include "Tprogressbar_ctrl.h"

#include "Operator.h"

#include <algorithm>

Tprogressbar_ctrl::Tprogressbar_ctrl(Operator &op)
    : op(op) {}

void Tprogressbar_ctrl::set(quint16 value) {
    if (value != 0)
        op.setProgressVisible(true);
    // The bar's range ends at 100; a larger value shows a full bar.
    op.setProgressPosition(std::min<int>(value, 100));
    if (value == 100)
        op.setProgressVisible(false);
}
