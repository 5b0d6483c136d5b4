#include "exchange/SharedStrings.h"

#include "exchange/XlsxText.h"
#include "exchange/XmlPart.h"
#include "exchange/ZipPackage.h"

#include <QVarLengthArray>
#include <QXmlStreamReader>

namespace {

// sst > si > t, and sst > si > r > t (a rich-text run); phonetic runs (rPh) are not text.
enum class Kind { Table, Item, Run, Text, Other };

} // namespace

bool SharedStrings::read(ZipPackage &zip, const QString &part, QString *reason) {
    texts.clear();
    ends.clear();
    QXmlStreamReader xml;
    xml.setNamespaceProcessing(false);
    QVarLengthArray<Kind, 16> open;
    bool sawRoot = false;
    const auto fail = [reason](const QString &why) {
        *reason = why;
        return false;
    };
    const auto pump = [&]() {
        while (!xml.atEnd()) {
            switch (xml.readNext()) {
            case QXmlStreamReader::StartElement: {
                if (open.size() >= XmlPart::MaxDepth)
                    return fail(QStringLiteral("the part %1 nests deeper than %2 levels")
                                    .arg(part)
                                    .arg(XmlPart::MaxDepth));
                const QStringView name = XmlPart::localName(xml.qualifiedName());
                const Kind parent = open.isEmpty() ? Kind::Other : open.last();
                Kind kind = Kind::Other;
                if (open.isEmpty()) {
                    if (name != u"sst")
                        return fail(QStringLiteral("the part %1 is not a sst part").arg(part));
                    sawRoot = true;
                    kind = Kind::Table;
                } else if (parent == Kind::Table && name == u"si") {
                    kind = Kind::Item;
                } else if ((parent == Kind::Item || parent == Kind::Run) && name == u"t") {
                    kind = Kind::Text;
                } else if (parent == Kind::Item && name == u"r") {
                    kind = Kind::Run;
                }
                open.append(kind);
                break;
            }
            case QXmlStreamReader::EndElement:
                if (!open.isEmpty() && open.last() == Kind::Item)
                    ends << quint32(texts.size());
                if (!open.isEmpty())
                    open.removeLast();
                break;
            case QXmlStreamReader::Characters:
                if (!open.isEmpty() && open.last() == Kind::Text)
                    texts += xml.text().toUtf8();
                break;
            case QXmlStreamReader::Invalid:
                if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                    return true;
                return fail(QStringLiteral("the part %1 is not well-formed XML (%2 at byte %3)")
                                .arg(part, xml.errorString())
                                .arg(xml.characterOffset()));
            default:
                break;
            }
        }
        return true;
    };
    const bool read = zip.stream(
        part,
        [&](const char *data, qsizetype size) {
            xml.addData(QByteArray(data, size));
            return pump();
        },
        reason);
    if (!read)
        return false;
    if (xml.hasError() || !sawRoot || !open.isEmpty())
        return fail(QStringLiteral("the part %1 is not well-formed XML (it ends early)").arg(part));
    return true;
}

QString SharedStrings::at(qsizetype index) const {
    const quint32 begin = index == 0 ? 0 : ends.at(index - 1);
    return XlsxText::decode(texts.constData() + begin, qsizetype(ends.at(index) - begin));
}
