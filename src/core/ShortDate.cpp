#include "ShortDate.h"

namespace ShortDate {

// QDate's own formatting ignores the locale, so the result is the same on every desktop.
QString format(QDate date) {
    return date.toString(Format);
}

QDate parse(const QString &text) {
    return QDate::fromString(text, Format);
}

} // namespace ShortDate
