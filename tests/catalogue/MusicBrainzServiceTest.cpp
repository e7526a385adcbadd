#include "support/LocalCatalogue.h"
#include "support/TemporaryCatalogue.h"

#include <QDir>
#include <QFile>
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <thread>

namespace {

const QString release = QStringLiteral("0f3a9c2e-5b7d-4e21-9a6c-3d8e1f0b7a42");
const QString unknownRelease = QStringLiteral("9b1d7e40-2c6a-4f38-8e5d-a17c03f4b629");
const QString agent = QStringLiteral("Tagwright/1.0 ( https://example.org/tagwright )");

using Headers = QMap<QByteArray, QByteArray>;  // lower-case names

struct Answer {
    long status = 0;
    QByteArray body;
    Headers headers;
};

size_t keepBody(char *data, size_t one, size_t count, void *body)
{
    static_cast<QByteArray *>(body)->append(data, qsizetype(one * count));
    return one * count;
}

size_t keepHeader(char *data, size_t one, size_t count, void *headers)
{
    const QByteArray line(data, qsizetype(one * count));
    if (const qsizetype colon = line.indexOf(':'); colon > 0)
        static_cast<Headers *>(headers)->insert(line.left(colon).toLower(), line.mid(colon + 1).trimmed());
    return one * count;
}

// One GET without following redirects, so that a redirect itself can be checked.
Answer get(const QString &url, const QString &userAgent = agent)
{
    Answer answer;
    CURL *curl = curl_easy_init();
    const QByteArray address = url.toUtf8(), agentBytes = userAgent.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agentBytes.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, keepHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &answer.headers);
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
    curl_easy_cleanup(curl);
    return answer;
}

} // namespace

TEST(MusicBrainzService, AnswersSearchesLookupsAndCoversFromItsFolderOnly)
{
    // The folder served lies inside an outer folder that holds files a request must never reach.
    TemporaryCatalogue outer;
    outer.addFile(QStringLiteral("secret.xml"), "OUTSIDE");
    outer.addFile(QStringLiteral("root/musicbrainz/search/Blue Moon.xml"), "<metadata>{{base}} Blue</metadata>");
    outer.addFile(QStringLiteral("root/musicbrainz/search/AC_DC (live).xml"), "<metadata>ACDC</metadata>");
    outer.addFile(QStringLiteral("root/musicbrainz/release/") + release + QStringLiteral(".xml"), "<metadata>lookup</metadata>");
    const QByteArray cover = encodedPicture(4, 4, "JPEG");
    outer.addFile(QStringLiteral("root/coverart/") + release + QStringLiteral(".jpg"), cover);
    const QString root = outer.path() + QStringLiteral("/root");
    ASSERT_TRUE(QFile::link(outer.path() + QStringLiteral("/secret.xml"), root + QStringLiteral("/musicbrainz/search/linked.xml")));
    LocalCatalogue service(root);
    ASSERT_TRUE(service.isRunning());
    const QByteArray base = service.baseUrl().toUtf8(), none = "<release-list count=\"0\" offset=\"0\"";
    const QByteArray notFound = "<text>Not Found</text>", imageUrl = base + "/coverart-images/" + release.toUtf8() + ".jpg";
    const struct {
        QString path;
        long status;
        QByteArray body;             // contained in the answer's body
        QByteArray header = {}, value = {};  // a header the answer carries
    } cases[] = {
        {"/ws/2/release/?query=Blue%20Moon&limit=25", 200, base + " Blue", "content-type", "text/xml;charset=UTF-8"},
        {"/ws/2/release?query=Blue+Moon", 200, "Blue"},
        {"/ws/2/release/?query=AC%5C%2FDC%20%5C(live%5C)", 200, "ACDC"},
        {"/ws/2/release/?query=blue%20moon", 200, none},
        {"/ws/2/release/?query=linked", 200, none},
        {"/ws/2/release/?query=..%2Fsecret", 200, none},
        {"/ws/2/release/?query=%5C.%5C.", 200, none},
        {"/ws/2/release/", 400, "<error>"},
        {"/ws/2/release/" + release + "?inc=artist-credits+labels+recordings", 200, "lookup"},
        {"/ws/2/release/" + unknownRelease + "?inc=recordings", 404, notFound},
        {"/ws/2/release/" + release.chopped(1) + "?inc=recordings", 400, "<error>"},
        {"/ws/2/release/..%2F..%2Fsecret.xml", 404, notFound},
        {"/release/" + release + "/front-500", 307, "", "location", imageUrl},
        {"/coverart-images/" + release + ".jpg", 200, cover, "content-type", "image/jpeg"},
        {"/release/" + unknownRelease + "/front-500", 404, ""},
        {"/release/not-a-release/front-500", 400, ""},
        {"/coverart-images/..%2F..%2Fsecret.xml", 404, ""}};
    for (const auto &c : cases) {
        const Answer answer = get(service.baseUrl() + c.path);
        EXPECT_EQ(answer.status, c.status) << c.path.toStdString();
        EXPECT_TRUE(answer.body.contains(c.body)) << c.path.toStdString() << ": " << answer.body.left(300).toStdString();
        EXPECT_FALSE(answer.body.contains("OUTSIDE")) << c.path.toStdString();
        EXPECT_EQ(answer.headers.value(c.header), c.value) << c.path.toStdString();
    }
}

TEST(MusicBrainzService, AFaultLimitedInTimesStrikesOnlyThatOftenForItsOwnAnswer)
{
    TemporaryCatalogue catalogue;
    const QString lookup = QStringLiteral("/ws/2/release/") + release, search = QStringLiteral("/ws/2/release/?query=Kestrel");
    catalogue.addFile(QStringLiteral("musicbrainz/release/") + release + QStringLiteral(".xml"), "<metadata>lookup</metadata>");
    catalogue.addFile(QStringLiteral("musicbrainz/release/") + release + QStringLiteral(".fault"), "status 503 retry-after 7 times 2\n");
    catalogue.addFile(QStringLiteral("musicbrainz/search/Kestrel.xml"), "<metadata>search</metadata>");
    catalogue.addFile(QStringLiteral("musicbrainz/search/Kestrel.fault"), "status 500 times 1");
    catalogue.addFile(QStringLiteral("musicbrainz/search/Broken.xml"), "<metadata>search</metadata>");
    catalogue.addFile(QStringLiteral("musicbrainz/search/Broken.fault"), "status 503 times 0");  // no fault: served normally
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    const struct {
        QString path;
        long status;
        QByteArray retryAfter = {};
    } sequence[] = {{lookup, 503, "7"}, {search, 500, ""}, {search, 200, ""}, {lookup, 503, "7"},
                    {lookup, 200, ""},  {lookup, 200, ""}, {"/ws/2/release/?query=Broken", 200, ""}};
    for (const auto &step : sequence) {
        const Answer answer = get(service.baseUrl() + step.path);
        EXPECT_EQ(answer.status, step.status) << step.path.toStdString();
        EXPECT_EQ(answer.headers.value("retry-after"), step.retryAfter) << step.path.toStdString();
    }
}

TEST(MusicBrainzService, ChecksTheClientsMannersAndLogsThem)
{
    TemporaryCatalogue catalogue;
    catalogue.addFile(QStringLiteral("musicbrainz/release/") + release + QStringLiteral(".xml"), "<metadata/>");
    const QString lookup = QStringLiteral("/ws/2/release/") + release;
    {
        LocalCatalogue strict(catalogue.path(), {.requireUserAgent = true});
        ASSERT_TRUE(strict.isRunning());
        const QList<std::pair<QString, long>> agents{{agent, 200}, {"", 403}, {"curl/7.88.1", 403},
                                                     {"Tagwright 1.0 ( x )", 403}, {"Tagwright/1.0 (x)", 403}};
        for (const auto &[userAgent, status] : agents)
            EXPECT_EQ(get(strict.baseUrl() + lookup, userAgent).status, status) << userAgent.toStdString();
        EXPECT_EQ(get(strict.baseUrl() + "/release/" + release + "/front-500", "").status, 404);  // covers are not checked
    }
    LocalCatalogue paced(catalogue.path(), {.musicBrainzIntervalMs = 1000});
    ASSERT_TRUE(paced.isRunning());
    EXPECT_EQ(get(paced.baseUrl() + lookup).status, 200);
    EXPECT_EQ(get(paced.baseUrl() + "/release/" + release + "/front-500").status, 404);  // nor paced
    EXPECT_EQ(get(paced.baseUrl() + lookup, "Other/2 ( x )").status, 503);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(get(paced.baseUrl() + lookup).status, 200);
    const QList<QJsonObject> log = paced.logLines();
    ASSERT_EQ(log.size(), 4);
    const QList<std::pair<QString, int>> logged{{agent, 200}, {agent, 404}, {"Other/2 ( x )", 503}, {agent, 200}};
    for (qsizetype i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i]["userAgent"].toString(), logged[i].first) << i;
        EXPECT_EQ(log[i]["status"].toInt(), logged[i].second) << i;
        EXPECT_GE(log[i]["arrivedMs"].toInteger(), i == 0 ? 0 : log[i - 1]["arrivedMs"].toInteger()) << i;
    }
    EXPECT_GE(log[3]["arrivedMs"].toInteger() - log[2]["arrivedMs"].toInteger(), 1000);
}
