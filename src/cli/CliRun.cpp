#include "CliRun.h"

#include "Session.h"
#include "TerminalOperator.h"
#include "protocol/FrameTrace.h"

#include <QEventLoop>
#include <optional>

CliRun::CliRun(const QCommandLineParser &parser, QStringList arguments, QString port,
               QString password, TerminalOperator &op, QTextStream &out)
    : parser(parser)
    , args(std::move(arguments))
    , port(std::move(port))
    , password(std::move(password))
    , op(op)
    , output(out) {}

CliRun::~CliRun() = default;

Session &CliRun::session() {
    if (!deviceSession) {
        deviceSession = std::make_unique<Session>(op);
        if (traceStream) {
            trace = std::make_unique<FrameTrace>();
            QObject::connect(trace.get(), &FrameTrace::line, [this](const QString &line) {
                op.finishStatusLine();
                *traceStream << line << '\n';
                traceStream->flush();
            });
            trace->follow(deviceSession->requests(), deviceSession->receivePath());
        }
    }
    return *deviceSession;
}

void CliRun::traceFramesTo(QTextStream &err) {
    traceStream = &err;
}

bool CliRun::openPort() {
    const Result<void> opened = session().openPort(port.trimmed());
    if (!opened)
        op.message(QStringLiteral("COM Port error"), {}, Operator::Icon::Error, opened.reason());
    return opened.ok();
}

CliRun::Outcome CliRun::login() {
    if (loggedIn)
        return {true, QString()};
    if (!openPort())
        return {false, QStringLiteral("COM Port error")};
    const Outcome outcome = await([this] { session().login(password); });
    loggedIn = outcome.ok;
    return outcome;
}

CliRun::Outcome CliRun::await(const std::function<void()> &start) {
    Session &s = session();
    std::optional<Outcome> outcome;
    QEventLoop loop;
    const auto ended =
        QObject::connect(&s, &Session::operationEnded, &loop, [&](bool ok, const QString &text) {
            if (!outcome)
                outcome = Outcome{ok, text};
            loop.quit();
        });
    const int refusalsBefore = op.refusals();
    start();
    if (!outcome && s.outcome().running())
        loop.exec();
    QObject::disconnect(ended);
    op.finishStatusLine();
    if (outcome)
        return *outcome;
    if (op.refusals() != refusalsBefore)
        return {false, QStringLiteral("Cancelled")};
    const QString text = QStringLiteral("Nothing was sent to the device");
    op.message(text, {}, Operator::Icon::Error);
    return {false, text};
}
