#include "search/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

bool parses(const QByteArray &bytes)
{
    return XmlDocument::parse(bytes).has_value();
}

} // namespace

TEST(XmlDocument, RefusesWhatIsNotOneWellFormedElement)
{
    EXPECT_FALSE(parses(QByteArray()));
    EXPECT_FALSE(parses("this is not xml"));
    EXPECT_FALSE(parses("<a><b></a>"));
    EXPECT_FALSE(parses("<a>x</a"));
    EXPECT_FALSE(parses("<a/><b/>"));
    EXPECT_FALSE(parses("<a/>trailing text"));
    EXPECT_FALSE(parses("\x89PNG\r\n\x1a\n"));
    EXPECT_TRUE(parses("\xef\xbb\xbf<?xml version=\"1.0\" ?>\r\n<a>t</a>\r\n"));
}

TEST(XmlDocument, NeverExpandsDeclaredEntities)
{
    const std::optional<XmlDocument> document = XmlDocument::parse(
        "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY secret SYSTEM \"file:///etc/hostname\">"
        "<!ENTITY big \"xxxxxxxxxx\">]><a>&secret;&big;&amp;</a>");
    ASSERT_TRUE(document);
    const QList<pugi::xml_node> roots = XmlDocument::nodesForXPath(document->node(), "a");
    ASSERT_EQ(roots.size(), 1);
    EXPECT_EQ(XmlDocument::stringValue(roots.first()), QStringLiteral("&secret;&big;&"));
}

TEST(XmlDocument, PathsMatchWhateverNamespaceTheAnswerUses)
{
    const std::optional<XmlDocument> document = XmlDocument::parse(
        "<r:Root xmlns:r=\"urn:one\"><Items xmlns=\"urn:two\"><Item>1</Item><r:Item>2</r:Item>"
        "<Other><Item>deeper</Item></Other><Item>3<![CDATA[<cdata>]]><b>bold</b> </Item></Items></r:Root>");
    ASSERT_TRUE(document);
    const QList<pugi::xml_node> items = XmlDocument::nodesForXPath(document->node(), "Root/Items/Item");
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(XmlDocument::stringValue(items[0]), QStringLiteral("1"));
    EXPECT_EQ(XmlDocument::stringValue(items[1]), QStringLiteral("2"));
    EXPECT_EQ(XmlDocument::stringValue(items[2]), QStringLiteral("3<cdata>bold "));

    EXPECT_TRUE(XmlDocument::nodesForXPath(document->node(), "Items/Item").isEmpty());
    EXPECT_TRUE(XmlDocument::nodesForXPath(document->node(), "Root/[").isEmpty()); // not a path
    EXPECT_TRUE(XmlDocument::nodesForXPath(pugi::xml_node(), "Root").isEmpty());
}

TEST(XmlDocument, RefusesDeepNestingWithoutExhaustingTheStack)
{
    const auto nested = [](int levels, const QByteArray &inner) {
        return QByteArray("<a>").repeated(levels) + inner + QByteArray("</a>").repeated(levels);
    };
    EXPECT_FALSE(parses(nested(1'000'000, "deep")));
    EXPECT_FALSE(parses(nested(256, "<b>text</b>")));
    const std::optional<XmlDocument> document = XmlDocument::parse(nested(255, "<x:b xmlns:x=\"urn:x\">text</x:b>"));
    ASSERT_TRUE(document);
    EXPECT_EQ(XmlDocument::stringValue(document->node()), QStringLiteral("text"));
    EXPECT_EQ(XmlDocument::nodesForXPath(document->node(), QByteArray("a/").repeated(255).append("b")).size(), 1);
}
