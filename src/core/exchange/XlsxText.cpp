#include "exchange/XlsxText.h"

#include <cstring>

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The code unit of an escape "_xHHHH_" starting at `p`, or -1 when there is none.
template <typename Char> int escapeAt(const Char *p, qsizetype left) {
    if (left < 7 || p[0] != '_' || p[1] != 'x' || p[6] != '_')
        return -1;
    int value = 0;
    for (int i = 2; i < 6; ++i) {
        const int digit = p[i] < 128 ? hexValue(char(p[i])) : -1;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool needsEscape(const QString &text, qsizetype i) {
    const char16_t c = text.at(i).unicode();
    if (c < 0x20)
        return c != '\t' && c != '\n';
    if (c == 0xFFFE || c == 0xFFFF)
        return true;
    if (QChar::isHighSurrogate(c))
        return i + 1 >= text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode());
    if (QChar::isLowSurrogate(c))
        return i == 0 || !QChar::isHighSurrogate(text.at(i - 1).unicode());
    return c == '_' && escapeAt(text.utf16() + i, text.size() - i) >= 0;
}

} // namespace

namespace XlsxText {

QByteArray encode(const QString &text) {
    qsizetype i = 0;
    while (i < text.size() && !needsEscape(text, i))
        ++i;
    if (i == text.size())
        return text.toUtf8();

    QString out = text.left(i);
    for (; i < text.size(); ++i) {
        if (needsEscape(text, i))
            out += QLatin1String("_x") +
                   QString::number(text.at(i).unicode(), 16).toUpper().rightJustified(4, '0') +
                   QLatin1Char('_');
        else
            out += text.at(i);
    }
    // Escapes of lone surrogates must not meet QString::toUtf8, which would replace them; the
    // escaped text holds none any more.
    return out.toUtf8();
}

QString decode(const char *utf8, qsizetype size) {
    const char *first =
        size >= 7 ? static_cast<const char *>(std::memchr(utf8, '_', size_t(size))) : nullptr;
    if (!first)
        return QString::fromUtf8(utf8, size);

    QString out;
    out.reserve(size);
    qsizetype plainStart = 0;
    for (qsizetype i = first - utf8; i + 7 <= size; ++i) {
        const int unit = escapeAt(reinterpret_cast<const unsigned char *>(utf8) + i, size - i);
        if (unit < 0)
            continue;
        out += QString::fromUtf8(utf8 + plainStart, i - plainStart);
        out += QChar(char16_t(unit));
        i += 6;
        plainStart = i + 1;
    }
    out += QString::fromUtf8(utf8 + plainStart, size - plainStart);
    return out;
}

} // namespace XlsxText
