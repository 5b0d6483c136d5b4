#include "exchange/XmlPart.h"

#include <cstring>

namespace XmlPart {

namespace {

// The library walks the tree itself, without recursion, so that depth alone cannot exhaust the
// stack; it stops at the first node nested too deep.
class DepthCheck : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node &) override { return depth() <= MaxDepth; }
};

bool withinDepth(pugi::xml_node root) {
    DepthCheck check;
    return root.traverse(check);
}

} // namespace

bool parse(QByteArray &bytes, pugi::xml_document &document, const QString &partName,
           QString *reason) {
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        bytes.data(), size_t(bytes.size()), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!result) {
        *reason = QStringLiteral("the part %1 is not well-formed XML (%2 at byte %3)")
                      .arg(partName, QString::fromUtf8(result.description()))
                      .arg(result.offset);
        return false;
    }
    if (!withinDepth(document)) {
        *reason =
            QStringLiteral("the part %1 nests deeper than %2 levels").arg(partName).arg(MaxDepth);
        return false;
    }
    return true;
}

bool hasLocalName(const char *name, const char *local) {
    // Most names carry no prefix and are settled by the first characters; a prefix's colon can
    // only come after the characters that matched, as local names hold none.
    const char *n = name;
    const char *l = local;
    while (*n && *n == *l) {
        ++n;
        ++l;
    }
    if (*n == *l)
        return true;
    const char *colon = std::strrchr(n, ':');
    return colon && std::strcmp(colon + 1, local) == 0;
}

QStringView localName(QStringView qualified) {
    const qsizetype colon = qualified.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? qualified : qualified.mid(colon + 1);
}

pugi::xml_node child(pugi::xml_node parent, const char *local) {
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling())
        if (node.type() == pugi::node_element && hasLocalName(node.name(), local))
            return node;
    return {};
}

pugi::xml_attribute attribute(pugi::xml_node node, const char *local) {
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (hasLocalName(a.name(), local))
            return a;
    return {};
}

QByteArray text(pugi::xml_node node) {
    QByteArray joined;
    for (pugi::xml_node piece = node.first_child(); piece; piece = piece.next_sibling())
        if (piece.type() == pugi::node_pcdata || piece.type() == pugi::node_cdata)
            joined += piece.value();
    return joined;
}

} // namespace XmlPart
