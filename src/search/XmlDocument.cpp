#include "search/XmlDocument.h"

#include <cstring>
#include <string>

namespace {

// Answers nested deeper than this are refused: real ones stay below twenty levels.
constexpr int maxNesting = 256;

// The next node after `node` in document order below `root`, or a null node at the end.
// Walking this way needs no recursion, so no answer can exhaust the stack.
pugi::xml_node nextInDocumentOrder(pugi::xml_node node, const pugi::xml_node &root)
{
    if (node.first_child())
        return node.first_child();
    while (node != root) {
        if (node.next_sibling())
            return node.next_sibling();
        node = node.parent();
    }
    return pugi::xml_node();
}

// Whether no element lies more than the bound below the document; stops at the first that does.
bool withinNestingBound(const pugi::xml_node &document)
{
    int depth = 0;
    pugi::xml_node node = document;
    for (;;) {
        if (node.first_child()) {
            node = node.first_child();
            if (++depth > maxNesting && node.type() == pugi::node_element)
                return false;
            continue;
        }
        while (node != document && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == document)
            return true;
        node = node.next_sibling();
    }
}

// Takes "prefix:Name" to "Name" on every element below the node.
void dropNamespacePrefixes(const pugi::xml_node &root)
{
    for (pugi::xml_node node = nextInDocumentOrder(root, root); node; node = nextInDocumentOrder(node, root)) {
        if (node.type() != pugi::node_element)
            continue;
        // Copied first: the new name must not overlap the storage it replaces.
        if (const char *colon = std::strchr(node.name(), ':'))
            node.set_name(std::string(colon + 1).c_str());
    }
}

bool isWhiteSpace(const char *text)
{
    return text[std::strspn(text, " \t\r\n")] == '\0';
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
    if (elements != 1 || !withinNestingBound(*document))
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
    for (pugi::xml_node child = nextInDocumentOrder(node, node); child; child = nextInDocumentOrder(child, node)) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text.append(child.value());
    }
    return QString::fromUtf8(text);
}
