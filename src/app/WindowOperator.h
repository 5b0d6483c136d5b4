#pragma once

#include "operator/Operator.h"

class QWidget;
class StatusPanels;

// The window's side of the operator interface: status panel 2 and the progress bar of the
// status bar, message boxes and file dialogs over the window.
class WindowOperator : public Operator {
public:
    WindowOperator(StatusPanels &bar, QWidget &window);

    void setStatusText(const QString &text) override;
    void setProgressPosition(int value) override;
    void setProgressVisible(bool visible) override;
    void message(const QString &text, const QString &title, Icon icon,
                 const QString &detail) override;
    bool confirm(const QString &text, const QString &title, const QString &acceptCaption,
                 const QString &rejectCaption, Icon icon) override;
    bool confirmWithDetails(const QString &text, const QString &details, const QString &title,
                            const QString &acceptCaption, const QString &rejectCaption,
                            Icon icon) override;
    bool confirmWithOption(const QString &text, const QString &details, const QString &option,
                           bool &checked, const QString &title, const QString &acceptCaption,
                           const QString &rejectCaption, Icon icon) override;
    bool warnOkCancel(const QString &text, const QString &title) override;
    QString chooseSaveFile(const QString &title, const QString &folder,
                           const QString &suggestedName, const QString &filter) override;
    QString chooseOpenFile(const QString &title, const QString &folder,
                           const QString &filter) override;

private:
    // `checked`, when given, is the state of a check box captioned `option`.
    bool ask(const QString &text, const QString &details, const QString &title,
             const QString &acceptCaption, const QString &rejectCaption, Icon icon,
             const QString &option = {}, bool *checked = nullptr);

    StatusPanels &bar;
    QWidget &window;
};
