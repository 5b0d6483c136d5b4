#include "exchange/CellReference.h"

#include <charconv>

namespace CellReference {

QByteArray columnLetters(int column) {
    QByteArray letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.prepend(char('A' + (column - 1) % 26));
    return letters;
}

QString name(int row, int column) {
    return QString::fromLatin1(columnLetters(column)) + QString::number(row);
}

bool parseRow(const QByteArray &text, int *row) {
    const char *end = text.constData() + text.size();
    qint64 number = 0;
    const auto result = std::from_chars(text.constData(), end, number);
    if (result.ec != std::errc() || result.ptr != end || text.isEmpty() || number < 1 ||
        number > MaxRows)
        return false;
    *row = int(number);
    return true;
}

bool parse(const QByteArray &text, int *row, int *column) {
    qint64 col = 0;
    qsizetype i = 0;
    for (; i < text.size() &&
           ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'));
         ++i) {
        col = col * 26 + ((text[i] & ~0x20) - 'A' + 1);
        if (col > MaxColumns)
            return false;
    }
    if (i == 0 || !parseRow(text.mid(i), row))
        return false;
    *column = int(col);
    return true;
}

} // namespace CellReference
