#include "CatalogueRequests.h"
#include "support/LocalCatalogue.h"
#include "support/TemporaryCatalogue.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

QByteArray answerPage(const char *asin)
{
    return itemSearchAnswer({QStringLiteral("<Item><ASIN>%1</ASIN></Item>").arg(QLatin1String(asin))},
                            QStringLiteral("2"));
}

std::string errorCode(const QByteArray &body)
{
    pugi::xml_document document;
    if (!document.load_buffer(body.constData(), size_t(body.size())))
        return "(not XML)";
    return document.select_node("//*[local-name()='Error']/*[local-name()='Code']").node().text().get();
}

class CatalogueAnswers : public ::testing::Test {
protected:
    HttpAnswer search(const QString &keywords, const QString &page = QStringLiteral("1"))
    {
        return httpGet(placeholderSearchUrl(service.host(), keywords, page));
    }

    static TemporaryCatalogue makeCatalogue()
    {
        TemporaryCatalogue catalogue;
        catalogue.addPage(QStringLiteral("Blue Moon"), 1, answerPage("B000000001"));
        catalogue.addPage(QStringLiteral("Blue Moon"), 2, answerPage("B000000002"));
        return catalogue;
    }

    TemporaryCatalogue catalogue = makeCatalogue();
    LocalCatalogue service{catalogue.path()};
};

} // namespace

TEST_F(CatalogueAnswers, AnswersNoExactMatchesForWhatItDoesNotHold)
{
    ASSERT_TRUE(service.isRunning());
    const QStringList unknownKeywords{QStringLiteral("blue moon"), QStringLiteral("Blue"), QStringLiteral(""),
                                      QStringLiteral("<&\"unknown\">")};
    for (const QString &keywords : unknownKeywords) {
        const HttpAnswer answer = search(keywords);
        EXPECT_EQ(answer.status, 200) << keywords.toStdString();
        EXPECT_EQ(errorCode(answer.body), "AWS.ECommerceService.NoExactMatches") << keywords.toStdString();
        EXPECT_TRUE(answer.body.contains("<TotalPages>0</TotalPages>"));
    }
    for (const QString &page : {QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("01"), QStringLiteral("-1"),
                                QStringLiteral("x")})
        EXPECT_EQ(errorCode(search(QStringLiteral("Blue Moon"), page).body), "AWS.ECommerceService.NoExactMatches")
            << page.toStdString();
}

TEST(CatalogueFolderSafety, NeverServesAFileOutsideTheFolder)
{
    // DIR lies inside an outer folder that holds files a request must never reach.
    TemporaryCatalogue outer;
    outer.addFile(QStringLiteral("page-1.xml"), answerPage("OUTSIDE001"));
    outer.addFile(QStringLiteral("secret/page-1.xml"), answerPage("OUTSIDE002"));
    outer.addFile(QStringLiteral("secret.jpg"), "outside picture");
    outer.addFile(QStringLiteral("root/Inside/page-1.xml"), answerPage("B000000001"));
    const QString root = outer.path() + QStringLiteral("/root");
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/images")));
    ASSERT_TRUE(QFile::link(outer.path() + QStringLiteral("/secret"), root + QStringLiteral("/linked")));
    ASSERT_TRUE(QFile::link(outer.path() + QStringLiteral("/secret.jpg"), root + QStringLiteral("/images/linked.jpg")));

    LocalCatalogue service(root);
    ASSERT_TRUE(service.isRunning());
    const auto search = [&](const QString &keywords) {
        return httpGet(placeholderSearchUrl(service.host(), keywords)).body;
    };
    EXPECT_TRUE(search(QStringLiteral("Inside")).contains("B000000001"));
    for (const QString &keywords : {QStringLiteral(".."), QStringLiteral("../secret"), QStringLiteral("linked"),
                                    QStringLiteral("."), QStringLiteral("/"), QStringLiteral("../root/Inside")}) {
        const QByteArray body = search(keywords);
        EXPECT_FALSE(body.contains("OUTSIDE")) << keywords.toStdString();
        EXPECT_EQ(errorCode(body), "AWS.ECommerceService.NoExactMatches") << keywords.toStdString();
    }

    HttpGetOptions asIs;
    asIs.pathAsIs = true;
    for (const QString &path : {QStringLiteral("/images/../../secret.jpg"), QStringLiteral("/images/..%2F..%2Fsecret.jpg"),
                                QStringLiteral("/images/linked.jpg"), QStringLiteral("/images/..")}) {
        const HttpAnswer answer = httpGet(service.baseUrl() + path, asIs);
        EXPECT_NE(answer.status, 200) << path.toStdString();
        EXPECT_FALSE(answer.body.contains("outside")) << path.toStdString();
    }
}
