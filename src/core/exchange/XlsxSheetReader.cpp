#include "exchange/XlsxSheetReader.h"

#include "exchange/CellReference.h"
#include "exchange/NumberCellText.h"
#include "exchange/SharedStrings.h"
#include "exchange/WorksheetStream.h"
#include "exchange/XlsxText.h"
#include "exchange/XmlPart.h"
#include "exchange/ZipPackage.h"

#include <QDateTime>
#include <QHash>
#include <QVector>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

using NumberCellText::DateSystem;
using NumberCellText::FormatKind;
using XmlPart::attribute;
using XmlPart::child;
using XmlPart::hasLocalName;

namespace {

struct Relationship {
    QString type;
    QString target;
};
using Relationships = QHash<QString, Relationship>;

QString folderOf(const QString &part) {
    return part.left(part.lastIndexOf(QLatin1Char('/')) + 1);
}

QString relationshipsPartOf(const QString &part) {
    return folderOf(part) + QStringLiteral("_rels/") + part.mid(folderOf(part).size()) +
           QStringLiteral(".rels");
}

// A relationship target is relative to the folder of its source part, or absolute from the
// package root when it starts with "/".
QString resolveTarget(const QString &sourcePart, const QString &target) {
    const QString joined =
        target.startsWith(QLatin1Char('/')) ? target.mid(1) : folderOf(sourcePart) + target;
    QStringList segments;
    for (const QString &segment : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == QLatin1String("..")) {
            if (!segments.isEmpty())
                segments.removeLast();
        } else if (segment != QLatin1String(".")) {
            segments << segment;
        }
    }
    return segments.join(QLatin1Char('/'));
}

bool parseInt(const char *text, qint64 *out) {
    const char *end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, *out);
    return result.ec == std::errc() && result.ptr == end && end != text;
}

bool parseNumber(const char *text, double *out) {
    if (*text == '+')
        ++text;
    const char *end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, *out);
    return result.ec == std::errc() && result.ptr == end && end != text && std::isfinite(*out);
}

class Reader {
public:
    Reader(SheetCells *cells, QString *reason, const SheetLayout &layout)
        : cells(cells)
        , reason(reason)
        , layout(layout) {}

    bool read(const QByteArray &file) {
        if (!zip.open(file, reason))
            return false;
        QString workbookPart;
        if (!findWorkbookPart(&workbookPart))
            return false;
        Relationships workbookRelationships;
        QString sheetPart;
        if (!readWorkbook(workbookPart, &workbookRelationships, &sheetPart))
            return false;
        for (const Relationship &r : std::as_const(workbookRelationships)) {
            if (r.type.endsWith(QLatin1String("/sharedStrings")) &&
                !sharedStrings.read(zip, resolveTarget(workbookPart, r.target), reason))
                return false;
            if (r.type.endsWith(QLatin1String("/styles")) &&
                !readStyles(resolveTarget(workbookPart, r.target)))
                return false;
        }
        return readSheet(sheetPart);
    }

private:
    bool fail(const QString &why) {
        *reason = why;
        return false;
    }

    bool load(const QString &part, QByteArray *storage, pugi::xml_document *document,
              const char *rootName, pugi::xml_node *root) {
        // These parts are parsed into a tree, some 64 bytes a node: their size is bounded apart
        // from the budget of the whole package. The sheet and the shared strings are streamed.
        const bool read = zip.stream(
            part,
            [&](const char *data, qsizetype size) {
                if (storage->size() + size <= XlsxSheetReader::MaxTreePartBytes) {
                    storage->append(data, size);
                    return true;
                }
                return fail(QStringLiteral("the part %1 is larger than %2 MiB")
                                .arg(part)
                                .arg(XlsxSheetReader::MaxTreePartBytes / (1024 * 1024)));
            },
            reason);
        if (!read || !XmlPart::parse(*storage, *document, part, reason))
            return false;
        *root = document->document_element();
        if (!*root || !hasLocalName(root->name(), rootName))
            return fail(
                QStringLiteral("the part %1 is not a %2 part").arg(part, QLatin1String(rootName)));
        return true;
    }

    // The relationships of `part`; a part without any has no relationships file.
    bool readRelationships(const QString &part, Relationships *out) {
        const QString name = relationshipsPartOf(part);
        if (!zip.contains(name))
            return true;
        QByteArray storage;
        pugi::xml_document document;
        pugi::xml_node root;
        if (!load(name, &storage, &document, "Relationships", &root))
            return false;
        for (pugi::xml_node r = root.first_child(); r; r = r.next_sibling()) {
            if (r.type() != pugi::node_element || !hasLocalName(r.name(), "Relationship") ||
                QLatin1String(attribute(r, "TargetMode").value()) == QLatin1String("External"))
                continue;
            out->insert(QString::fromUtf8(attribute(r, "Id").value()),
                        {QString::fromUtf8(attribute(r, "Type").value()),
                         QString::fromUtf8(attribute(r, "Target").value())});
        }
        return true;
    }

    bool findWorkbookPart(QString *part) {
        Relationships package;
        if (!readRelationships(QString(), &package))
            return false;
        for (const Relationship &r : std::as_const(package)) {
            if (r.type.endsWith(QLatin1String("/officeDocument"))) {
                *part = resolveTarget(QString(), r.target);
                return true;
            }
        }
        // Some writers leave out the package relationships; the usual place then.
        *part = QStringLiteral("xl/workbook.xml");
        if (!zip.contains(*part))
            return fail(QStringLiteral("it is not a workbook (it has no workbook part)"));
        return true;
    }

    bool readWorkbook(const QString &part, Relationships *relationships, QString *sheetPart) {
        QByteArray storage;
        pugi::xml_document document;
        pugi::xml_node root;
        if (!zip.contains(part))
            return fail(
                QStringLiteral("it is not a workbook (its main part %1 is missing)").arg(part));
        // One tree at a time: a tree costs up to some 25 times its part's bytes.
        if (!readRelationships(part, relationships) ||
            !load(part, &storage, &document, "workbook", &root))
            return false;
        const QLatin1String date1904(attribute(child(root, "workbookPr"), "date1904").value());
        dateSystem = date1904 == QLatin1String("1") || date1904 == QLatin1String("true")
                         ? DateSystem::From1904
                         : DateSystem::From1900;
        const pugi::xml_node sheets = child(root, "sheets");
        for (pugi::xml_node sheet = sheets.first_child(); sheet; sheet = sheet.next_sibling()) {
            if (sheet.type() != pugi::node_element || !hasLocalName(sheet.name(), "sheet"))
                continue;
            const auto found =
                relationships->constFind(QString::fromUtf8(attribute(sheet, "id").value()));
            if (found != relationships->constEnd() &&
                found->type.endsWith(QLatin1String("/worksheet"))) {
                *sheetPart = resolveTarget(part, found->target);
                return true;
            }
        }
        return fail(QStringLiteral("it has no worksheet"));
    }

    bool readStyles(const QString &part) {
        QByteArray storage;
        pugi::xml_document document;
        pugi::xml_node root;
        if (!load(part, &storage, &document, "styleSheet", &root))
            return false;
        QHash<qint64, FormatKind> custom;
        const pugi::xml_node numFmts = child(root, "numFmts");
        for (pugi::xml_node f = numFmts.first_child(); f; f = f.next_sibling()) {
            qint64 id = 0;
            if (f.type() == pugi::node_element && hasLocalName(f.name(), "numFmt") &&
                parseInt(attribute(f, "numFmtId").value(), &id))
                custom.insert(id, NumberCellText::formatCodeKind(
                                      QString::fromUtf8(attribute(f, "formatCode").value())));
        }
        const pugi::xml_node cellXfs = child(root, "cellXfs");
        for (pugi::xml_node xf = cellXfs.first_child(); xf; xf = xf.next_sibling()) {
            if (xf.type() != pugi::node_element || !hasLocalName(xf.name(), "xf"))
                continue;
            qint64 id = 0;
            const pugi::xml_attribute idText = attribute(xf, "numFmtId");
            if (idText && !parseInt(idText.value(), &id))
                return fail(QStringLiteral("the part %1 names a number format \"%2\"")
                                .arg(part, QString::fromUtf8(idText.value())));
            styleKinds << custom.value(id, NumberCellText::builtinFormatKind(int(id)));
        }
        return true;
    }

    bool readSheet(const QString &part) {
        if (!zip.contains(part))
            return fail(QStringLiteral("its first worksheet %1 is missing").arg(part));
        WorksheetStream sheet(
            part, [this](const CellXml &cell) { return keepCell(cell); }, reason);
        const bool read = zip.stream(
            part, [&sheet](const char *data, qsizetype size) { return sheet.feed(data, size); },
            reason);
        return read ? sheet.finish() : endedAtLastRow;
    }

    // Within the layout a cell is read; past its last column it is dropped; a value past its
    // last row ends the read, refusing the sheet or keeping the rows before as the layout says.
    bool keepCell(const CellXml &cell) {
        if (cell.column > layout.lastColumn)
            return true;
        if (cell.row > layout.lastRow) {
            if (cell.value.isEmpty() && cell.inlineText.isEmpty())
                return true;
            if (layout.tooLong.isEmpty()) {
                endedAtLastRow = true;
                return false;
            }
            return fail(QStringLiteral("%1 (cell %2 holds a value)")
                            .arg(layout.tooLong, CellReference::name(cell.row, cell.column)));
        }
        return readCell(cell);
    }

    bool readCell(const CellXml &c) {
        const char *type = c.type.constData();
        const int row = c.row;
        const int column = c.column;
        if (std::strcmp(type, "inlineStr") == 0) {
            cells->setText(row, column,
                           XlsxText::decode(c.inlineText.constData(), c.inlineText.size()));
            return true;
        }
        if (!c.hasValue)
            return true;
        const QByteArray &value = c.value;
        if (std::strcmp(type, "s") == 0) {
            qint64 index = -1;
            if (!parseInt(value.constData(), &index) || index < 0 || index >= sharedStrings.size())
                return fail(QStringLiteral("cell %1 refers to shared string \"%2\", which does not "
                                           "exist")
                                .arg(CellReference::name(row, column), QString::fromUtf8(value)));
            cells->setText(row, column, sharedStrings.at(qsizetype(index)));
        } else if (std::strcmp(type, "str") == 0) {
            cells->setText(row, column, XlsxText::decode(value.constData(), value.size()));
        } else if (std::strcmp(type, "b") == 0) {
            cells->setText(row, column,
                           value == "0" ? QStringLiteral("FALSE") : QStringLiteral("TRUE"));
        } else if (std::strcmp(type, "e") == 0) {
            cells->setText(row, column, QString::fromUtf8(value));
        } else if (std::strcmp(type, "d") == 0) {
            return readDateCell(c, value, row, column);
        } else if (*type == 0 || std::strcmp(type, "n") == 0) {
            if (value.isEmpty())
                return true;
            double number = 0;
            if (!parseNumber(value.constData(), &number))
                return fail(QStringLiteral("cell %1 holds \"%2\", which is not a number")
                                .arg(CellReference::name(row, column), QString::fromUtf8(value)));
            return setNumber(c, number, row, column);
        } else {
            return fail(QStringLiteral("cell %1 has the unknown type \"%2\"")
                            .arg(CellReference::name(row, column), QString::fromUtf8(type)));
        }
        return true;
    }

    // An ISO 8601 date, time or both, as some writers store dates; shown like a serial.
    bool readDateCell(const CellXml &c, const QByteArray &value, int row, int column) {
        const QString text = QString::fromUtf8(value);
        QDateTime at = QDateTime::fromString(text, Qt::ISODate);
        if (!at.isValid())
            at = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
        if (!at.isValid())
            at = QDateTime(QDate(1899, 12, 30), QTime::fromString(text, Qt::ISODate));
        if (!at.isValid())
            return fail(QStringLiteral("cell %1 holds \"%2\", which is not a date")
                            .arg(CellReference::name(row, column), text));
        const QDate date = at.date();
        double days = 0;
        if (date != QDate(1899, 12, 30))
            days = dateSystem == DateSystem::From1904 ? QDate(1904, 1, 1).daysTo(date)
                   : date < QDate(1900, 3, 1)         ? QDate(1899, 12, 31).daysTo(date)
                                                      : QDate(1899, 12, 30).daysTo(date);
        return setNumber(c, days + at.time().msecsSinceStartOfDay() / 86400000.0, row, column);
    }

    bool setNumber(const CellXml &c, double number, int row, int column) {
        FormatKind kind = FormatKind::General;
        if (c.hasStyle) {
            qint64 style = -1;
            if (!parseInt(c.style.constData(), &style) || style < 0 || style >= styleKinds.size()) {
                // Style 0 is the default style even when a writer leaves out the styles part.
                if (style != 0)
                    return fail(
                        QStringLiteral("cell %1 refers to style \"%2\", which does not exist")
                            .arg(CellReference::name(row, column), QString::fromUtf8(c.style)));
            } else {
                kind = styleKinds.at(qsizetype(style));
            }
        }
        cells->set(row, column, NumberCellText::displayed(number, kind, dateSystem),
                   NumberCellText::value(number, kind, dateSystem));
        return true;
    }

    SheetCells *cells;
    QString *reason;
    const SheetLayout &layout;
    bool endedAtLastRow = false;
    ZipPackage zip;
    DateSystem dateSystem = DateSystem::From1900;
    SharedStrings sharedStrings;
    QVector<FormatKind> styleKinds;
};

} // namespace

namespace XlsxSheetReader {

Result<SheetCells> read(const QByteArray &file, const SheetLayout &layout) {
    SheetCells cells;
    QString reason;
    if (!Reader(&cells, &reason, layout).read(file))
        return Failure{reason};
    return cells;
}

} // namespace XlsxSheetReader
