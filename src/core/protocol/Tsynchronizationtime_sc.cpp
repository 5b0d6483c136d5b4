#include "Tsynchronizationtime_sc.h"

#include "RequestSender.h"

Tsynchronizationtime_sc::Tsynchronizationtime_sc(RequestSender &sender, uint8_t code)
    : Tsingalcmd(sender, code)
    , clock([] { return QDateTime::currentDateTime(); }) {}

void Tsynchronizationtime_sc::Send() {
    if (!sender.idle())
        return;
    const auto bytes = clockBytes(clock());
    sender.send(CommandCode, 0, bytes, QStringLiteral("发送同步时间命令"));
}

std::array<uint8_t, 6> Tsynchronizationtime_sc::clockBytes(const QDateTime &when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return {uint8_t(d.year()), uint8_t(d.month()),  uint8_t(d.day()),
            uint8_t(t.hour()), uint8_t(t.minute()), uint8_t(t.second())};
}
