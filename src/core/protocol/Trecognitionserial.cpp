#include "protocol/Trecognitionserial.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QStringList kinds = {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"),
                           QStringLiteral("ttyS")};

struct Port {
    int kind;
    qulonglong number;
    QString name;
};

} // namespace

Trecognitionserial::Trecognitionserial(QString sysfsRoot, QString devRoot)
    : root(std::move(sysfsRoot))
    , dev(std::move(devRoot)) {}

bool Trecognitionserial::hasHardware(const QString &kind, const QString &name) const {
    const QString entry = root + QLatin1Char('/') + name;
    if (kind != QLatin1String("ttyS"))
        return QFileInfo::exists(entry + QStringLiteral("/device"));
    // The 8250 driver registers a fixed number of ttyS lines whether or not a UART answers;
    // those without one have no driver bound or report type 0 (unknown).
    if (!QFileInfo::exists(entry + QStringLiteral("/device/driver")))
        return false;
    QFile type(entry + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return true;
    bool isNumber = false;
    const int value = type.read(32).trimmed().toInt(&isNumber);
    return !isNumber || value != 0;
}

QStringList Trecognitionserial::ports() const {
    static const QRegularExpression pattern(QStringLiteral("^(ttyUSB|ttyACM|ttyS)(\\d{1,9})$"));
    QList<Port> found;
    const QStringList names =
        QDir(root).entryList(QDir::Dirs | QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch() || !hasHardware(m.captured(1), name) ||
            !QFileInfo::exists(dev + QLatin1Char('/') + name))
            continue;
        found.append({int(kinds.indexOf(m.captured(1))), m.captured(2).toULongLong(), name});
    }
    std::sort(found.begin(), found.end(), [](const Port &a, const Port &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    QStringList out;
    for (const Port &p : found)
        out << dev + QLatin1Char('/') + p.name;
    return out;
}
