#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <pugixml.hpp>

// A service answer parsed for path queries. Parsing never loads a DTD or an external entity,
// and element names lose any namespace prefix, so unprefixed paths match the service's
// elements whatever namespace the answer declares.
class XmlDocument {
public:
    // No document when the bytes are not one well-formed XML element, or nest elements more
    // than 256 levels deep.
    static std::optional<XmlDocument> parse(const QByteArray &bytes);

    // The document node: paths queried from it start with the root element's name.
    pugi::xml_node node() const { return *m_document; }

    // The elements that a relative path of element names selects from the context node, in
    // document order. A path that cannot be evaluated selects nothing.
    static QList<pugi::xml_node> nodesForXPath(const pugi::xml_node &context, const char *path);

    // All descendant text of the node joined in document order, untrimmed.
    static QString stringValue(const pugi::xml_node &node);

private:
    std::unique_ptr<pugi::xml_document> m_document;
};
