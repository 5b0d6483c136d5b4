#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

// Reading the XML parts of a workbook. Element and attribute names are compared by their local
// name, so that any namespace prefix a writer chose ("x:row", "r:id") is accepted.
namespace XmlPart {

constexpr int MaxDepth = 64;

// Parses `bytes` in place (the document points into them). Text that is only blanks is kept,
// line ends are normalized as XML asks. Fails on malformed XML and on nesting beyond MaxDepth.
bool parse(QByteArray &bytes, pugi::xml_document &document, const QString &partName,
           QString *reason);

bool hasLocalName(const char *name, const char *local);
// "x:row" → "row", for the parts read as a stream.
QStringView localName(QStringView qualified);
// The first child element with that local name, or an empty node.
pugi::xml_node child(pugi::xml_node parent, const char *local);
// The first attribute with that local name, or an empty attribute.
pugi::xml_attribute attribute(pugi::xml_node node, const char *local);
// The element's own character data, all of its text and CDATA pieces joined.
QByteArray text(pugi::xml_node node);

} // namespace XmlPart
