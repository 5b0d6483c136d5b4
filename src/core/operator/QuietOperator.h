#pragma once

#include "operator/Operator.h"

// An operator nobody watches: it shows nothing, declines every question and file choice, and
// keeps the last message text. A backup runs the export's own writer through it, so the save
// it precedes shows no progress of its own and gets the writer's failure as a text.
class QuietOperator : public Operator {
public:
    void setStatusText(const QString &) override {}
    void setProgressPosition(int) override {}
    void setProgressVisible(bool) override {}
    void message(const QString &text, const QString &, Icon, const QString &) override {
        lastMessage = text;
    }
    bool confirm(const QString &, const QString &, const QString &, const QString &,
                 Icon) override {
        return false;
    }
    bool warnOkCancel(const QString &, const QString &) override { return false; }
    QString chooseSaveFile(const QString &, const QString &, const QString &,
                           const QString &) override {
        return {};
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override {
        return {};
    }

    QString lastMessage;
};
