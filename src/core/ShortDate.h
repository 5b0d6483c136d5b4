#pragma once

#include <QDate>
#include <QString>

// The program's own short date format. Every date the program writes or reads without a format
// of its own uses it, whatever the desktop's regional settings say; those are never changed.
namespace ShortDate {

inline const QString Format = QStringLiteral("yyyy/MM/dd");

QString format(QDate date);
// An invalid date when the text is not a "yyyy/MM/dd" date.
QDate parse(const QString &text);

} // namespace ShortDate
