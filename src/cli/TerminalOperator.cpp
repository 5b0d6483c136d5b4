#include "TerminalOperator.h"

TerminalOperator::TerminalOperator(const Streams &streams, bool assumeYes)
    : io(streams)
    , assumeYes(assumeYes) {}

TerminalOperator::~TerminalOperator() {
    finishStatusLine();
}

void TerminalOperator::setStatusText(const QString &text) {
    status = text;
    redrawStatus();
}

void TerminalOperator::setProgressPosition(int value) {
    progress = value;
    redrawStatus();
}

void TerminalOperator::setProgressVisible(bool visible) {
    progressShown = visible;
    redrawStatus();
}

void TerminalOperator::redrawStatus() {
    QString line = status;
    if (progressShown)
        line += QStringLiteral(" [%1%]").arg(progress, 3);
    if (io.errIsTerminal) {
        // Carriage return and erase-to-end-of-line: one line that keeps changing.
        io.err << '\r' << line << "\x1b[K";
        io.err.flush();
        lineOpen = !line.isEmpty();
        return;
    }
    // A log keeps a line for each new status text; progress alone would flood it.
    if (status.isEmpty() || status == lastPrinted)
        return;
    lastPrinted = status;
    io.err << status << '\n';
    io.err.flush();
}

void TerminalOperator::finishStatusLine() {
    if (!lineOpen)
        return;
    io.err << '\n';
    io.err.flush();
    lineOpen = false;
}

void TerminalOperator::note(const QString &line) {
    finishStatusLine();
    io.err << line << '\n';
    io.err.flush();
}

void TerminalOperator::message(const QString &text, const QString &title, Icon,
                               const QString &detail) {
    finishStatusLine();
    if (!title.isEmpty())
        io.err << title << ": ";
    io.err << text << '\n';
    if (!detail.isEmpty())
        io.err << detail << '\n';
    io.err.flush();
}

bool TerminalOperator::confirm(const QString &text, const QString &title,
                               const QString &acceptCaption, const QString &rejectCaption, Icon) {
    return ask(title.isEmpty() ? text : title + QStringLiteral(": ") + text, acceptCaption,
               rejectCaption);
}

bool TerminalOperator::warnOkCancel(const QString &text, const QString &title) {
    return ask(title.isEmpty() ? text : title + QStringLiteral(": ") + text, QStringLiteral("OK"),
               QStringLiteral("Cancel"));
}

bool TerminalOperator::ask(const QString &question, const QString &acceptCaption,
                           const QString &rejectCaption) {
    finishStatusLine();
    if (assumeYes) {
        io.err << question << " -> " << acceptCaption << " (--yes)\n";
        io.err.flush();
        return true;
    }
    if (!io.inIsTerminal) {
        io.err << question << "\nRefused: no terminal to ask; pass --yes to accept.\n";
        io.err.flush();
        ++refused;
        return false;
    }
    io.err << question << " [y = " << acceptCaption << ", n = " << rejectCaption << "] ";
    io.err.flush();
    const QString answer = io.in.readLine().trimmed();
    const bool accepted = answer.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0 ||
                          answer.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
                          answer.compare(acceptCaption, Qt::CaseInsensitive) == 0;
    if (!accepted)
        ++refused;
    return accepted;
}

QString TerminalOperator::chooseSaveFile(const QString &, const QString &, const QString &,
                                         const QString &) {
    return {};
}

QString TerminalOperator::chooseOpenFile(const QString &, const QString &, const QString &) {
    return {};
}
