#include "numbers/FaultySerials.h"

namespace {

constexpr int Named = 3;

} // namespace

void FaultySerials::add(const QString &serial) {
    if (++count <= Named)
        first << serial;
}

QString FaultySerials::message(const QString &lead, const QString &label) const {
    if (count == 0)
        return {};
    QString text = lead + QString::number(count) + u'\r' + label + first.join(u',');
    if (count > Named)
        text += QStringLiteral(",....");
    return text;
}
