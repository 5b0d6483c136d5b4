#pragma once

#include "Tsingalcmd.h"

#include <QDateTime>
#include <array>
#include <functional>

// Sends the PC's local date and time as six plain bytes: year (its low 8 bits), month, day,
// hour, minute, second.
class Tsynchronizationtime_sc : public Tsingalcmd {
public:
    using Clock = std::function<QDateTime()>;

    Tsynchronizationtime_sc(RequestSender &sender, uint8_t code);

    void Send() override;
    // The clock read at the moment of sending; the local clock unless a test fixes it.
    void setClock(Clock clock) { this->clock = std::move(clock); }

    static std::array<uint8_t, 6> clockBytes(const QDateTime &when);

private:
    Clock clock;
};
