#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <atomic>

namespace {

std::atomic<int> overrideNumber{0};
std::atomic<const char *> overrideName{nullptr};

// The code pages a locale can map to, with the names Qt's ICU converters know them by.
struct Known {
    int number;
    const char *name;
};
constexpr Known KnownPages[] = {
    {874, "windows-874"},   {932, "windows-932"},   {936, "GBK"},           {949, "windows-949"},
    {950, "windows-950"},   {1250, "windows-1250"}, {1251, "windows-1251"}, {1252, "windows-1252"},
    {1253, "windows-1253"}, {1254, "windows-1254"}, {1255, "windows-1255"}, {1256, "windows-1256"},
    {1257, "windows-1257"}, {1258, "windows-1258"},
};

const char *nameOf(int number) {
    for (const Known &k : KnownPages)
        if (k.number == number)
            return k.name;
    return nullptr;
}

} // namespace

CodePage::CodePage(int number)
    : CodePage(nameOf(number) ? number : 1252, nullptr) {}

CodePage::CodePage(int number, const char *converterName)
    : codePage(number)
    , converter(converterName ? converterName : nameOf(number)) {}

int CodePage::numberForLocale(const QLocale &locale) {
    switch (locale.language()) {
    case QLocale::Chinese: {
        const auto t = locale.territory();
        if (t == QLocale::Taiwan || t == QLocale::HongKong || t == QLocale::Macao ||
            (t != QLocale::China && locale.script() == QLocale::TraditionalChineseScript))
            return 950;
        return 936;
    }
    case QLocale::Japanese:
        return 932;
    case QLocale::Korean:
        return 949;
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Bulgarian:
    case QLocale::Serbian:
        return 1251;
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Romanian:
    case QLocale::Croatian:
    case QLocale::Slovenian:
        return 1250;
    case QLocale::Greek:
        return 1253;
    case QLocale::Turkish:
        return 1254;
    case QLocale::Hebrew:
        return 1255;
    case QLocale::Arabic:
    case QLocale::Persian:
        return 1256;
    case QLocale::Lithuanian:
    case QLocale::Latvian:
    case QLocale::Estonian:
        return 1257;
    case QLocale::Vietnamese:
        return 1258;
    case QLocale::Thai:
        return 874;
    default:
        return 1252;
    }
}

CodePage CodePage::current() {
    const int forced = overrideNumber.load();
    if (!forced)
        return CodePage(numberForLocale(QLocale::system()));
    return CodePage(nameOf(forced) ? forced : 1252, overrideName.load());
}

void CodePage::setOverride(int number, const char *converterName) {
    overrideName.store(number ? converterName : nullptr);
    overrideNumber.store(number);
}

bool CodePage::converts() const {
    return QStringEncoder(converter).isValid() && QStringDecoder(converter).isValid();
}

QString CodePage::conversionProblem() const {
    if (converts())
        return {};
    return QStringLiteral("Texts cannot be converted: this program has no converter for code "
                          "page %1 (%2), the code page of the system's language. The settings' "
                          "texts, the password included, would be read and saved empty.")
        .arg(codePage)
        .arg(QString::fromLatin1(converter));
}

QByteArray CodePage::encode(const QString &text) const {
    QStringEncoder encoder(converter);
    return encoder.encode(text);
}

QString CodePage::decode(const QByteArray &bytes) const {
    QStringDecoder decoder(converter);
    return decoder.decode(bytes);
}

qsizetype CodePage::firstUnheld(QStringView text) const {
    // ASCII is the same in every code page, and most texts are ASCII.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return -1;
    QStringEncoder encoder(converter);
    QStringDecoder decoder(converter);
    // Most texts convert whole: one round trip decides, the walk below finds the culprit.
    if (QString(decoder.decode(QByteArray(encoder.encode(text)))) == text)
        return -1;
    for (qsizetype i = 0; i < text.size();) {
        const QString one = characterAt(text, i);
        if (QString(decoder.decode(QByteArray(encoder.encode(one)))) != one)
            return i;
        i += one.size();
    }
    return -1;
}

QString CodePage::characterAt(QStringView text, qsizetype index) {
    const qsizetype units = text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return text.mid(index, units).toString();
}

QString CodePage::unheldText(QStringView text, qsizetype index) const {
    const QString one = characterAt(text, index);
    const QString code = QString::number(one.toUcs4().value(0), 16).toUpper();
    return QStringLiteral("\"%1\" (U+%2) is not in code page %3")
        .arg(one, code.rightJustified(4, u'0'))
        .arg(codePage);
}

int CodePage::byteLength(const QString &text) const {
    return int(encode(text).size());
}

QString CodePage::cut(const QString &text, int maxBytes) const {
    if (maxBytes <= 0)
        return {};
    QStringEncoder encoder(converter);
    int used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        // A character outside the basic plane is two UTF-16 units and converts as one.
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const int bytes = int(QByteArray(encoder.encode(QStringView(text).mid(i, units))).size());
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        i += units;
    }
    return text.left(i);
}
