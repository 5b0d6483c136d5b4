#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

// The 8-bit code page in which the device keeps the texts the operator types: the Windows ANSI
// code page of the operator's locale (936 on a simplified-Chinese system, 1252 for western
// languages, ...). Two-byte code pages store one character as a lead byte at or above 0x80
// followed by a trail byte; single-byte ones make every byte one character.
class CodePage {
public:
    // An unknown number falls back to 1252, the western code page.
    explicit CodePage(int number);

    // The code page of the locale; `current()` unless a test has set an override.
    static int numberForLocale(const QLocale &locale);
    static CodePage current();
    // Makes `current()` return this code page whatever the locale; 0 returns to the locale.
    // A `converterName` (a literal) replaces the page's own, so that a test can meet a Qt build
    // that has no converter for the page.
    static void setOverride(int number, const char *converterName = nullptr);

    int number() const { return codePage; }
    // The converter's name for the code page ("GBK", "windows-1252", ...).
    QByteArray name() const { return converter; }

    // Whether this Qt build converts the code page both ways. Without a converter every text
    // would encode to nothing, and a save would wipe the device's texts.
    bool converts() const;
    // What the operator is told before anything is done when the page does not convert; empty
    // when it does.
    QString conversionProblem() const;

    // Characters the code page cannot hold become the converter's substitute byte.
    QByteArray encode(const QString &text) const;
    // Where the first character the code page cannot hold starts (one that would not come back
    // as itself after an encode and a decode), or -1 when every character converts.
    qsizetype firstUnheld(QStringView text) const;
    // The character starting at `index`, both halves of a pair outside the basic plane.
    static QString characterAt(QStringView text, qsizetype index);
    // Names the character at `index` and the code page, for the messages that refuse a text:
    // "中" (U+4E2D) is not in code page 1252
    QString unheldText(QStringView text, qsizetype index) const;
    QString decode(const QByteArray &bytes) const;
    int byteLength(const QString &text) const;
    // The longest start of the text whose bytes fit maxBytes, cut before a character whose
    // bytes would not all fit, so no two-byte character is ever split.
    QString cut(const QString &text, int maxBytes) const;
    QByteArray encodeCut(const QString &text, int maxBytes) const {
        return encode(cut(text, maxBytes));
    }

private:
    CodePage(int number, const char *converterName);

    int codePage;
    const char *converter;
};
