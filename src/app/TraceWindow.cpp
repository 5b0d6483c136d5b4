#include "TraceWindow.h"

#include "Session.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TraceWindow::TraceWindow(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , lines(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Frame trace"));
    lines->setReadOnly(true);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines->setMaximumBlockCount(MaxLines);
    lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lines);
    resize(900, 400);
    connect(&trace, &FrameTrace::line, lines, &QPlainTextEdit::appendPlainText);
    trace.follow(session.requests(), session.receivePath());
}

QString TraceWindow::text() const {
    return lines->toPlainText();
}
