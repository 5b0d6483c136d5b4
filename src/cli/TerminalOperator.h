#pragma once

#include "operator/Operator.h"

#include <QTextStream>

// The operator at a terminal. Everything it says goes to the error stream, so that the output
// stream carries a command's data alone: status texts and progress on a terminal as one line
// rewritten in place, otherwise one line per new text; message-box texts as lines of their own.
// Questions are asked on the terminal, taken as accepted with --yes, and refused when there is
// nobody to ask.
class TerminalOperator : public Operator {
public:
    struct Streams {
        QTextStream &out;
        QTextStream &err;
        QTextStream &in;
        bool errIsTerminal = false; // the status line may be redrawn in place
        bool inIsTerminal = false;  // questions can be asked
    };

    TerminalOperator(const Streams &streams, bool assumeYes);
    ~TerminalOperator() override;

    void setStatusText(const QString &text) override;
    void setProgressPosition(int value) override;
    void setProgressVisible(bool visible) override;

    void message(const QString &text, const QString &title = {}, Icon icon = Icon::None,
                 const QString &detail = {}) override;
    bool confirm(const QString &text, const QString &title, const QString &acceptCaption,
                 const QString &rejectCaption, Icon icon = Icon::Question) override;
    // On a terminal the details are part of the question: there is nothing to expand.
    bool confirmWithDetails(const QString &text, const QString &details, const QString &title,
                            const QString &acceptCaption, const QString &rejectCaption,
                            Icon icon = Icon::Question) override {
        return confirm(details.isEmpty() ? text : text + u'\n' + details, title, acceptCaption,
                       rejectCaption, icon);
    }
    bool warnOkCancel(const QString &text, const QString &title = {}) override;

    // Nobody picks files at a terminal: commands that read or write files take the path on their
    // command line, so these report a cancelled choice.
    QString chooseSaveFile(const QString &title, const QString &folder,
                           const QString &suggestedName, const QString &filter) override;
    QString chooseOpenFile(const QString &title, const QString &folder,
                           const QString &filter) override;

    // How many questions were answered "no" (or could not be asked) so far.
    int refusals() const { return refused; }
    // Ends a status line left open on the terminal, so that the next output starts clean.
    void finishStatusLine();
    // A line of its own on the error stream, beside the status texts.
    void note(const QString &line);

private:
    bool ask(const QString &question, const QString &acceptCaption, const QString &rejectCaption);
    void redrawStatus();

    Streams io;
    bool assumeYes;
    QString status;
    int progress = 0;
    bool progressShown = false;
    bool lineOpen = false;
    QString lastPrinted;
    int refused = 0;
};
