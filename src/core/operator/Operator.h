#pragma once

#include <QString>

// The one way the core talks to a person. The window implements it with widgets, the
// command-line front with the terminal, and the tests with a recording fake.
class Operator {
public:
    enum class Icon { None, Information, Question, Warning, Error };

    virtual ~Operator() = default;

    // Status panel 2 and the progress bar as displays; the clearing and hiding rules live in
    // Tstatusbar_ctrl and Tprogressbar_ctrl, which drive these.
    virtual void setStatusText(const QString &text) = 0;
    virtual void setProgressPosition(int value) = 0;
    virtual void setProgressVisible(bool visible) = 0;

    // A modal message with one OK button. `detail` is extra text shown beneath the message.
    virtual void message(const QString &text, const QString &title = {}, Icon icon = Icon::None,
                         const QString &detail = {}) = 0;
    // A modal question; true when the operator accepts. The button captions are the caller's.
    virtual bool confirm(const QString &text, const QString &title, const QString &acceptCaption,
                         const QString &rejectCaption, Icon icon = Icon::Question) = 0;
    // The same question with extra text the operator may unfold (a list behind "Details");
    // a front without room for it asks the plain question.
    virtual bool confirmWithDetails(const QString &text, const QString &details,
                                    const QString &title, const QString &acceptCaption,
                                    const QString &rejectCaption, Icon icon = Icon::Question) {
        (void)details;
        return confirm(text, title, acceptCaption, rejectCaption, icon);
    }
    // The same question with a check box captioned `option` beneath it: `checked` goes in as the
    // box's state and comes back as the operator left it. A front without check boxes asks
    // without it and leaves `checked` alone.
    virtual bool confirmWithOption(const QString &text, const QString &details,
                                   const QString &option, bool &checked, const QString &title,
                                   const QString &acceptCaption, const QString &rejectCaption,
                                   Icon icon = Icon::Question) {
        (void)option;
        (void)checked;
        return confirmWithDetails(text, details, title, acceptCaption, rejectCaption, icon);
    }
    // A warning with OK and Cancel; true for OK.
    virtual bool warnOkCancel(const QString &text, const QString &title = {}) = 0;

    // File choices; an empty result means the operator cancelled.
    virtual QString chooseSaveFile(const QString &title, const QString &folder,
                                   const QString &suggestedName, const QString &filter) = 0;
    virtual QString chooseOpenFile(const QString &title, const QString &folder,
                                   const QString &filter) = 0;
};
