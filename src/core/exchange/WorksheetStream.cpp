#include "exchange/WorksheetStream.h"

#include "exchange/CellReference.h"
#include "exchange/XlsxSheetReader.h"
#include "exchange/XmlPart.h"

namespace {

// The attribute of that local name, or a null view.
QStringView attribute(const QXmlStreamAttributes &attributes, QLatin1StringView local) {
    for (const QXmlStreamAttribute &a : attributes)
        if (XmlPart::localName(a.qualifiedName()) == local)
            return a.value().isNull() ? QStringView(u"") : a.value();
    return {};
}

} // namespace

WorksheetStream::WorksheetStream(QString partName, Sink sink, QString *reason)
    : part(std::move(partName))
    , sink(std::move(sink))
    , reason(reason) {
    // Prefixes need not be declared: the names are matched by their local part.
    xml.setNamespaceProcessing(false);
}

bool WorksheetStream::fail(const QString &why) {
    *reason = why;
    return false;
}

bool WorksheetStream::xmlError() {
    return fail(QStringLiteral("the part %1 is not well-formed XML (%2 at byte %3)")
                    .arg(part, xml.errorString())
                    .arg(xml.characterOffset()));
}

WorksheetStream::Kind WorksheetStream::kindOf(QStringView name) const {
    const Kind parent = open.isEmpty() ? Kind::Other : open.last();
    if (open.isEmpty())
        return name == u"worksheet" ? Kind::Worksheet : Kind::Other;
    switch (parent) {
    case Kind::Worksheet:
        return name == u"sheetData" ? Kind::SheetData : Kind::Other;
    case Kind::SheetData:
        return name == u"row" ? Kind::Row : Kind::Other;
    case Kind::Row:
        return name == u"c" ? Kind::Cell : Kind::Other;
    case Kind::Cell:
        return name == u"v" ? Kind::Value : name == u"is" ? Kind::Inline : Kind::Other;
    case Kind::Inline:
        return name == u"t" ? Kind::Text : name == u"r" ? Kind::Run : Kind::Other;
    case Kind::Run:
        return name == u"t" ? Kind::Text : Kind::Other;
    default:
        return Kind::Other;
    }
}

bool WorksheetStream::start() {
    if (open.size() >= XmlPart::MaxDepth)
        return fail(QStringLiteral("the part %1 nests deeper than %2 levels")
                        .arg(part)
                        .arg(XmlPart::MaxDepth));
    const Kind kind = kindOf(XmlPart::localName(xml.qualifiedName()));
    if (open.isEmpty()) {
        if (kind != Kind::Worksheet)
            return fail(QStringLiteral("the part %1 is not a worksheet part").arg(part));
        sawRoot = true;
    }
    open.append(kind);
    const QXmlStreamAttributes attributes = xml.attributes();
    if (kind == Kind::Row) {
        column = 0;
        const QStringView r = attribute(attributes, QLatin1StringView("r"));
        if (r.isNull()) {
            if (++rowNumber > XlsxSheetReader::MaxRows)
                return fail(QStringLiteral("the worksheet has more than %1 rows")
                                .arg(XlsxSheetReader::MaxRows));
            return true;
        }
        if (!CellReference::parseRow(r.toUtf8(), &rowNumber))
            return fail(QStringLiteral("the worksheet has a row numbered \"%1\"").arg(r));
    } else if (kind == Kind::Cell) {
        cell = CellXml();
        cell.row = rowNumber;
        const QStringView r = attribute(attributes, QLatin1StringView("r"));
        if (!r.isNull()) {
            if (!CellReference::parse(r.toUtf8(), &cell.row, &column))
                return fail(QStringLiteral("the worksheet has a cell named \"%1\"").arg(r));
        } else if (++column > XlsxSheetReader::MaxColumns) {
            return fail(QStringLiteral("row %1 of the worksheet has more than %2 cells")
                            .arg(rowNumber)
                            .arg(XlsxSheetReader::MaxColumns));
        }
        cell.column = column;
        cell.type = attribute(attributes, QLatin1StringView("t")).toUtf8();
        const QStringView s = attribute(attributes, QLatin1StringView("s"));
        cell.hasStyle = !s.isNull();
        cell.style = s.toUtf8();
    } else if (kind == Kind::Value) {
        cell.hasValue = true;
    }
    return true;
}

bool WorksheetStream::pump() {
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!start())
                return false;
            break;
        case QXmlStreamReader::EndElement:
            if (!open.isEmpty() && open.last() == Kind::Cell && !sink(cell))
                return false;
            if (!open.isEmpty())
                open.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!open.isEmpty() && open.last() == Kind::Value)
                cell.value += xml.text().toUtf8();
            else if (!open.isEmpty() && open.last() == Kind::Text)
                cell.inlineText += xml.text().toUtf8();
            break;
        case QXmlStreamReader::Invalid:
            return xml.error() == QXmlStreamReader::PrematureEndOfDocumentError || xmlError();
        default:
            break;
        }
    }
    return true;
}

bool WorksheetStream::feed(const char *data, qsizetype size) {
    xml.addData(QByteArray(data, size));
    return pump();
}

bool WorksheetStream::finish() {
    if (xml.hasError() || !sawRoot || !open.isEmpty()) {
        if (!xml.hasError())
            xml.raiseError(QStringLiteral("Premature end of document."));
        return xmlError();
    }
    return true;
}
