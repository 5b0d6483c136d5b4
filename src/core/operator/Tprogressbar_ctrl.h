#pragma once

#include <QtGlobal>

class Operator;

// Drives the progress bar (range 0..100): any value but 0 shows it, 100 hides it again, and 0
// only moves the position, so a bar that is hidden stays hidden.
class Tprogressbar_ctrl {
public:
    explicit Tprogressbar_ctrl(Operator &op);

    void set(quint16 value);

private:
    Operator &op;
};
