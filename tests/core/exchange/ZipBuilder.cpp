#include "ZipBuilder.h"

#include <QFile>

#include <array>

namespace {

quint32 crc32(const QByteArray &data) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data)
        crc = table[(crc ^ quint8(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void put16(QByteArray &out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

void ZipBuilder::add(const QString &name, const QByteArray &content, bool deflate,
                     qint64 declaredSize) {
    Entry e;
    e.name = name.toUtf8();
    e.crc = crc32(content);
    e.size = quint32(declaredSize < 0 ? content.size() : declaredSize);
    e.method = deflate ? 8 : 0;
    if (deflate) {
        // qCompress gives a 4-byte length, a 2-byte zlib header, the raw deflate stream and a
        // 4-byte checksum; zip wants the raw stream.
        const QByteArray z = qCompress(content, 6);
        e.stored = z.mid(6, z.size() - 10);
    } else {
        e.stored = content;
    }
    entries << e;
}

QByteArray ZipBuilder::build() const {
    QByteArray out;
    QByteArray central;
    for (const Entry &e : entries) {
        const quint32 offset = quint32(out.size());
        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, flags);
        put16(out, e.method);
        put16(out, 0);
        put16(out, 0x21);
        put32(out, e.crc);
        put32(out, quint32(e.stored.size()));
        put32(out, e.size);
        put16(out, quint32(e.name.size()));
        put16(out, 0);
        out += e.name;
        out += e.stored;

        put32(central, 0x02014b50);
        put16(central, 20);
        put16(central, 20);
        put16(central, flags);
        put16(central, e.method);
        put16(central, 0);
        put16(central, 0x21);
        put32(central, e.crc);
        put32(central, quint32(e.stored.size()));
        put32(central, e.size);
        put16(central, quint32(e.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, offset);
        central += e.name;
    }
    const quint32 centralOffset = quint32(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint32(entries.size()));
    put16(out, quint32(entries.size()));
    put32(out, quint32(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

bool ZipBuilder::save(const QString &path) const {
    QFile file(path);
    const QByteArray bytes = build();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray worksheetXml(const QByteArray &rows) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<sheetData>" +
           rows + "</sheetData></worksheet>";
}

QByteArray minimalXlsx(const QByteArray &sheetXml, const QByteArray &sharedStringsXml,
                       const QByteArray &stylesXml, const QByteArray &workbookXml) {
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    ZipBuilder zip;
    zip.add(QStringLiteral("[Content_Types].xml"),
            "<?xml version=\"1.0\"?><Types "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    zip.add(QStringLiteral("_rels/.rels"),
            "<?xml version=\"1.0\"?><Relationships "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" Type=\"" +
                rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    zip.add(QStringLiteral("xl/workbook.xml"),
            workbookXml.isEmpty()
                ? "<?xml version=\"1.0\"?><workbook "
                  "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "xmlns:r=\"" +
                      rel +
                      "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" "
                      "r:id=\"rId1\"/></sheets></workbook>"
                : workbookXml);
    QByteArray rels = "<?xml version=\"1.0\"?><Relationships "
                      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"" +
                      rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!sharedStringsXml.isEmpty())
        rels += "<Relationship Id=\"rId2\" Type=\"" + rel +
                "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    if (!stylesXml.isEmpty())
        rels += "<Relationship Id=\"rId3\" Type=\"" + rel + "/styles\" Target=\"styles.xml\"/>";
    rels += "</Relationships>";
    zip.add(QStringLiteral("xl/_rels/workbook.xml.rels"), rels);
    zip.add(QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml);
    if (!sharedStringsXml.isEmpty())
        zip.add(QStringLiteral("xl/sharedStrings.xml"), sharedStringsXml);
    if (!stylesXml.isEmpty())
        zip.add(QStringLiteral("xl/styles.xml"), stylesXml);
    return zip.build();
}

QString writeTestFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}
