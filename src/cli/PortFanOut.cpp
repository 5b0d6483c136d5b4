#include "PortFanOut.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <memory>
#include <vector>

namespace {

struct Child {
    QString port;
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QByteArray pending; // the part of a line not yet ended
    QElapsedTimer clock;
    bool ended = false;
    bool ok = false;
    double seconds = 0;
};

} // namespace

PortFanOut::PortFanOut(QString program, Arguments arguments, Log log)
    : program(std::move(program))
    , arguments(std::move(arguments))
    , log(std::move(log)) {}

QList<PortFanOut::Result> PortFanOut::run(const QStringList &ports) {
    std::vector<Child> children(size_t(ports.size()));
    QEventLoop loop;
    qsizetype running = ports.size();
    const auto forward = [this](Child &c, bool all) {
        c.pending += c.process->readAll();
        qsizetype end;
        while ((end = c.pending.indexOf('\n')) >= 0) {
            log(c.port, QString::fromLocal8Bit(c.pending.left(end)));
            c.pending.remove(0, end + 1);
        }
        if (all && !c.pending.isEmpty()) {
            log(c.port, QString::fromLocal8Bit(c.pending));
            c.pending.clear();
        }
    };
    const auto end = [&](Child &c, bool ok) {
        if (c.ended)
            return;
        c.ended = true;
        c.ok = ok;
        c.seconds = double(c.clock.nsecsElapsed()) / 1e9;
        forward(c, true);
        if (--running == 0)
            loop.quit();
    };
    for (qsizetype i = 0; i < ports.size(); ++i) {
        Child &c = children[size_t(i)];
        c.port = ports.at(i);
        QProcess &p = *c.process;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&p, &QProcess::readyRead, [&forward, &c] { forward(c, false); });
        QObject::connect(&p, &QProcess::finished, [&end, &c](int code, QProcess::ExitStatus how) {
            end(c, how == QProcess::NormalExit && code == 0);
        });
        QObject::connect(&p, &QProcess::errorOccurred, [&end, &c, this](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart)
                return; // a crash also ends in finished()
            log(c.port, c.process->errorString());
            end(c, false);
        });
        c.clock.start();
        p.start(program, arguments(c.port));
        if (p.state() != QProcess::NotRunning) {
            p.write(input);
            p.closeWriteChannel();
        }
    }
    if (running > 0)
        loop.exec();
    QList<Result> out;
    for (const Child &c : children)
        out << Result{c.port, c.ok, c.seconds};
    return out;
}
