#include "search/XmlDocument.h"

#include <cstring>
#include <string>

namespace {

// Takes "prefix:Name" to "Name" on every element below the node.
void dropNamespacePrefixes(pugi::xml_node node)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        // Copied first: the new name must not overlap the storage it replaces.
        if (const char *colon = std::strchr(child.name(), ':'))
            child.set_name(std::string(colon + 1).c_str());
        dropNamespacePrefixes(child);
    }
}

bool isWhiteSpace(const char *text)
{
    return text[std::strspn(text, " \t\r\n")] == '\0';
}

void appendText(const pugi::xml_node &node, QByteArray &text)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text.append(child.value());
        else if (child.type() == pugi::node_element)
            appendText(child, text);
    }
}

} // namespace

std::optional<XmlDocument> XmlDocument::parse(const QByteArray &bytes)
{
    auto document = std::make_unique<pugi::xml_document>();
    // Fragment mode keeps stray text beside the root element, so it can be refused below;
    // white space is kept because it belongs to the text content of the elements; without
    // parse_doctype the document type declaration is skipped, never read.
    constexpr unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_fragment;
    const pugi::xml_parse_result result =
        document->load_buffer(bytes.constData(), size_t(bytes.size()), options, pugi::encoding_auto);
    if (!result)
        return std::nullopt;

    int elements = 0;
    for (pugi::xml_node child : document->children()) {
        if (child.type() == pugi::node_element)
            ++elements;
        else if (child.type() == pugi::node_cdata || (child.type() == pugi::node_pcdata && !isWhiteSpace(child.value())))
            return std::nullopt;
    }
    if (elements != 1)
        return std::nullopt;

    dropNamespacePrefixes(*document);
    XmlDocument parsed;
    parsed.m_document = std::move(document);
    return parsed;
}

QList<pugi::xml_node> XmlDocument::nodesForXPath(const pugi::xml_node &context, const char *path)
{
    QList<pugi::xml_node> nodes;
    if (!context)
        return nodes;
    try {
        const pugi::xpath_node_set selected = context.select_nodes(path);
        for (const pugi::xpath_node &n : selected) {
            if (n.node())
                nodes.append(n.node());
        }
    } catch (const pugi::xpath_exception &) {
        nodes.clear();
    }
    return nodes;
}

QString XmlDocument::stringValue(const pugi::xml_node &node)
{
    QByteArray text;
    appendText(node, text);
    return QString::fromUtf8(text);
}
