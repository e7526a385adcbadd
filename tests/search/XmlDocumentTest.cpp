#include "search/XmlDocument.h"

#include <gtest/gtest.h>

TEST(XmlDocument, RefusesWhatIsNotOneWellFormedShallowElement)
{
    const auto nested = [](int levels, const QByteArray &inner) {
        return QByteArray("<a>").repeated(levels) + inner + QByteArray("</a>").repeated(levels);
    };
    // A million levels would exhaust the stack of any recursive walk.
    for (const QByteArray &bytes : {QByteArray(), QByteArray("this is not xml"), QByteArray("<a><b></a>"),
                                    QByteArray("<a>x</a"), QByteArray("<a/><b/>"), QByteArray("<a/>trailing text"),
                                    QByteArray("\x89PNG\r\n\x1a\n"), nested(1'000'000, "deep"), nested(256, "<b>x</b>")})
        EXPECT_FALSE(XmlDocument::parse(bytes).has_value()) << bytes.left(40).toStdString();
    EXPECT_TRUE(XmlDocument::parse("\xef\xbb\xbf<?xml version=\"1.0\" ?>\r\n<a>t</a>\r\n").has_value());

    const std::optional<XmlDocument> deepest = XmlDocument::parse(nested(255, "<x:b xmlns:x=\"urn:x\">text</x:b>"));
    ASSERT_TRUE(deepest);
    EXPECT_EQ(XmlDocument::stringValue(deepest->node()), QStringLiteral("text"));
    EXPECT_EQ(XmlDocument::nodesForXPath(deepest->node(), QByteArray("a/").repeated(255).append("b")).size(), 1);
}

TEST(XmlDocument, NeverExpandsDeclaredEntities)
{
    const std::optional<XmlDocument> document = XmlDocument::parse(
        "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY secret SYSTEM \"file:///etc/hostname\">"
        "<!ENTITY big \"xxxxxxxxxx\">]><a>&secret;&big;&amp;</a>");
    ASSERT_TRUE(document);
    EXPECT_EQ(XmlDocument::stringValue(document->node()), QStringLiteral("&secret;&big;&"));
}

TEST(XmlDocument, PathsMatchWhateverNamespaceTheAnswerUses)
{
    const std::optional<XmlDocument> document = XmlDocument::parse(
        "<r:Root xmlns:r=\"urn:one\"><Items xmlns=\"urn:two\"><Item>1</Item><r:Item>2</r:Item>"
        "<Other><Item>deeper</Item></Other><Item>3<![CDATA[<cdata>]]><b>bold</b> </Item></Items></r:Root>");
    ASSERT_TRUE(document);
    QStringList texts;
    for (const pugi::xml_node &item : XmlDocument::nodesForXPath(document->node(), "Root/Items/Item"))
        texts.append(XmlDocument::stringValue(item));
    EXPECT_EQ(texts, (QStringList{"1", "2", "3<cdata>bold "}));
    EXPECT_TRUE(XmlDocument::nodesForXPath(document->node(), "Items/Item").isEmpty());
    EXPECT_TRUE(XmlDocument::nodesForXPath(document->node(), "Root/[").isEmpty()); // not a path
    EXPECT_TRUE(XmlDocument::nodesForXPath(pugi::xml_node(), "Root").isEmpty());
}
