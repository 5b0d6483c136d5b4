#include "DeviceBench.h"

#include "EventWait.h"

DeviceBench::DeviceBench(const DeviceOptions &options)
    : device(options) {
    session.cm1().setCommName(device.slavePath());
    session.cm1().OpenPort();
}

bool DeviceBench::run(const std::function<void()> &operation, const QString &success) {
    const qsizetype before = ended.size();
    op.clearHistory();
    operation();
    if (!waitUntil([&] { return ended.size() > before; }, 60000))
        return false;
    return ended.last().at(0).toBool() &&
           (success.isNull() || ended.last().at(1).toString() == success);
}

QList<QPair<bool, QString>> DeviceBench::outcomes() const {
    QList<QPair<bool, QString>> out;
    for (const auto &args : ended)
        out << qMakePair(args.at(0).toBool(), args.at(1).toString());
    return out;
}
