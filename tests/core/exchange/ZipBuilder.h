#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Builds zip containers byte by byte, so that tests can make workbooks the way other programs
// lay them out, and damaged ones that no well-behaved writer would produce.
class ZipBuilder {
public:
    // `declaredSize` < 0 declares the true unpacked size; otherwise the headers lie.
    void add(const QString &name, const QByteArray &content, bool deflate = true,
             qint64 declaredSize = -1);
    // Marks every entry as encrypted with the traditional zip password scheme.
    void markEncrypted() { flags = 1; }
    QByteArray build() const;
    bool save(const QString &path) const;

private:
    struct Entry {
        QByteArray name;
        QByteArray stored;
        quint32 crc;
        quint32 size;
        quint16 method;
    };
    QList<Entry> entries;
    quint16 flags = 0;
};

// A minimal xlsx package around the given parts. An empty shared strings or styles part is left
// out, with its relationship.
QByteArray minimalXlsx(const QByteArray &sheetXml, const QByteArray &sharedStringsXml = {},
                       const QByteArray &stylesXml = {}, const QByteArray &workbookXml = {});

// The XML envelope of a worksheet around rows given as XML.
QByteArray worksheetXml(const QByteArray &rows);

// Writes the bytes to the path; the path, or an empty string when the file cannot be written.
QString writeTestFile(const QString &path, const QByteArray &bytes);
