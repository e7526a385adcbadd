#include "search/TextBounds.h"
#include "search/storefront/SearchEngine.h"
#include "support/LogCapture.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::optional<XmlDocument> fixture(const char *name)
{
    return XmlDocument::parse(recordedAnswer(name));
}

// A 4x3 picture for every http(s) cover URL, a failure for ".../broken.jpg"; the URLs asked for are kept.
struct Covers {
    QStringList asked;
    SearchEngine::CoverLookup lookup()
    {
        return [this](const QString &url) -> std::optional<QImage> {
            asked.append(url);
            if (url.endsWith(QStringLiteral("broken.jpg")))
                throw std::runtime_error("picture source gave up");
            return SearchEngine::isFetchableCoverUrl(url) ? std::optional(QImage(4, 3, QImage::Format_RGB32)) : std::nullopt;
        };
    }
};

// One line per album with every field a search fills, "-" for an absent one:
// asin|artist|album|year|label|genre|discs|tracks|cover|[disc.number title/artist,...] or "no list".
QString summary(const ResultEntry &album)
{
    const auto text = [](const std::optional<QString> &value) { return value.value_or(QStringLiteral("-")); };
    QString tracks = QStringLiteral("no list");
    if (album.trackList()) {
        QStringList titles;
        for (const auto &track : *album.trackList()) {
            titles.append(QStringLiteral("%1.%2 ").arg(track->discNumber().value_or(0)).arg(track->numberOnDisc().value_or(0))
                          + text(track->title()) + u'/' + text(track->artist()));
        }
        tracks = u'[' + titles.join(u',') + u']';
    }
    const QString cover = album.cover() ? QStringLiteral("%1x%2").arg(album.cover()->width()).arg(album.cover()->height())
                                        : QStringLiteral("-");
    return QStringList{text(album.asinNumber()), text(album.artistName()), text(album.albumName()),
                       text(album.yearOfPublication()), text(album.label()), text(album.genre()),
                       QString::number(album.numberOfDiscs()), QString::number(album.numberOfTracks()), cover, tracks}
        .join(u'|');
}

// The summaries of the albums the page adds to a list of `alreadyListed` albums.
QStringList extract(const std::optional<XmlDocument> &page, Covers &covers, int alreadyListed = 0,
                    const QStringList &alsoSaid = {})
{
    SearchEngine engine(ServiceConfig::placeholders());
    ResultList list;
    for (int i = 0; i < alreadyListed; ++i)
        list.append(std::make_shared<ResultEntry>());
    StatusRecorder status;
    engine.addResultEntriesFromResult(page ? &*page : nullptr, list, covers.lookup(), &status.control);
    QStringList summaries;
    for (qsizetype i = alreadyListed; i < list.size(); ++i)
        summaries.append(summary(*list[i]));
    // One status line per item, counting the whole list, given out once the album is in it.
    EXPECT_EQ(status.lines, entryStatusLines(int(list.size())).mid(alreadyListed) + alsoSaid);
    return summaries;
}

} // namespace

TEST(Extraction, ReadsRecordedAnswersItemByItem)
{
    Covers covers;
    const std::optional<XmlDocument> largePage = fixture("music-jp-large-keywords-page1.xml");
    const QStringList large = extract(largePage, covers);
    ASSERT_EQ(large.size(), 10);
    EXPECT_TRUE(large[0].startsWith("B000CZ0Q5W|Pat Metheny|Still Life (Talking)|2006|Nonesuch||1|7|4x3|"
                                    "[1.1 Minuando (Six Eight)/Pat Metheny,")) << large[0].toStdString();
    // Two discs of 14 and 5 tracks run on in one list; no Tracks element gives no list.
    EXPECT_TRUE(large[7].contains("|2|19|4x3|[1.1 Above the Treetops/Pat Metheny,")) << large[7].toStdString();
    EXPECT_TRUE(large[7].contains(",1.14 Not to Be Forgotten (Our Final Hour)/Pat Metheny,2.1 ")) << large[7].toStdString();
    EXPECT_TRUE(large[7].endsWith(",2.5 Et Si C'etait La Fin (As If It Was The End)/Pat Metheny]"));
    EXPECT_EQ(large[1].section(u'|', 6), QStringLiteral("2|0|4x3|no list"));
    EXPECT_EQ(covers.asked.value(4), QStringLiteral("http://ecx.images-amazon.com/images/I/61Zngr%2BS1uL.jpg"));
    EXPECT_EQ(SearchEngine::getTotalPagesFromItemSearchResult(&*largePage), 44);

    // Only a Creator: the empty artist; a colon in a title becomes a hyphen. The count goes on
    // from the albums already listed.
    EXPECT_EQ(extract(fixture("all-de-small-keywords-page1.xml"), covers, 2).value(6), QStringLiteral("3453196082||Michael Jackson- Die wahre Geschichte|-|||0|0|-|no list"));
    EXPECT_EQ(extract(fixture("music-us-medium-single-item.xml"), covers),
              QStringList{"B000W7Y1AQ||Green Ep|2007|||1|0|4x3|no list"});

    // Two credited artists leave the album and its tracks without artist.
    const QByteArray lookup = recordedAnswer("lookup-music-us-two-artists-edited.xml").replace("ItemLookupResponse", "ItemSearchResponse");
    EXPECT_TRUE(extract(XmlDocument::parse(lookup), covers).value(0).startsWith(
        "B00005A46I||For the Stars|2001|Deutsche Grammophon||1|18|-|[1.1 No Wonder/,"));

    // Error answers: no items, no total, and the code of a refusal ("no exact matches" is none).
    const QList<std::pair<const char *, std::optional<QString>>> errors{
        {"error-noexactmatches-music-us-medium.xml", std::nullopt},
        {"error-signaturedoesnotmatch-itemsearch.xml", QStringLiteral("SignatureDoesNotMatch")},
        {"error-requestexpired-itemsearch.xml", QStringLiteral("RequestExpired")},
        {"error-invalidclienttokenid-itemsearch.xml", QStringLiteral("InvalidClientTokenId")}};
    for (const auto &[name, code] : errors) {
        const std::optional<XmlDocument> answer = fixture(name);
        ASSERT_TRUE(answer) << name;
        EXPECT_TRUE(extract(answer, covers).isEmpty()) << name;
        EXPECT_EQ(SearchEngine::getTotalPagesFromItemSearchResult(&*answer), 0) << name;
        EXPECT_EQ(SearchEngine::refusalCodeOf(*answer), code) << name;
    }
    EXPECT_TRUE(extract(std::nullopt, covers).isEmpty());
}

TEST(Extraction, EdgeCasesOfOneItemAndAFailurePartWay)
{
    const std::optional<XmlDocument> page = XmlDocument::parse(itemSearchAnswer({
        // colons; the genre of the first browse node named exactly "Allgemein"; discs without tracks in between
        "<Item><ASIN>A1</ASIN><ItemAttributes><Artist>Art:ist</Artist><Title>Ti:t:le</Title>"
        "<ReleaseDate>2001</ReleaseDate><NumberOfDiscs>3 discs</NumberOfDiscs></ItemAttributes><BrowseNodes>"
        "<BrowseNode><Name>allgemein</Name><Ancestors><BrowseNode><Name>Wrong case</Name></BrowseNode></Ancestors></BrowseNode>"
        "<BrowseNode><Name>Allgemein</Name><Ancestors><BrowseNode><Name>Jazz</Name>"
        "<Ancestors><BrowseNode><Name>Deeper</Name></BrowseNode></Ancestors></BrowseNode></Ancestors></BrowseNode>"
        "<BrowseNode><Name>Allgemein</Name><Ancestors><BrowseNode><Name>Rock</Name></BrowseNode></Ancestors></BrowseNode>"
        "</BrowseNodes><Tracks><Disc Number=\"1\"><Track Number=\"1\">a:b</Track><Track Number=\"2\"></Track></Disc>"
        "<Disc Number=\"2\"/><Disc Number=\"3\"><Track>  spaced  </Track></Disc></Tracks></Item>",
        "<Item/>",
        "<Item><Tracks><Disc/><Disc/></Tracks><ItemAttributes><NumberOfDiscs>x</NumberOfDiscs></ItemAttributes></Item>",
        "<Item><ItemAttributes><ReleaseDate>199</ReleaseDate><Artist>Solo</Artist><NumberOfDiscs>1</NumberOfDiscs>"
        "</ItemAttributes><LargeImage><URL>http://covers.example/a.jpg</URL></LargeImage>"
        "<Tracks><Disc><Track>Only</Track></Disc></Tracks></Item>",
        "<Item><LargeImage><URL>file:///etc/passwd</URL></LargeImage><ItemAttributes><ReleaseDate>1999-12-31"
        "</ReleaseDate></ItemAttributes></Item>",
        "<Item><Tracks><Disc>" + QStringLiteral("<Track>t</Track>").repeated(1005) + "</Disc></Tracks></Item>",
        // Number attributes count when they are plain positive numbers, else the position does.
        "<Item><Tracks><Disc Number=\"7\"><Track Number=\" 9 \">a</Track><Track Number=\"0\">b</Track></Disc>"
        "<Disc Number=\"-1\"><Track Number=\"x\">c</Track></Disc><Disc Number=\"1001\"><Track Number=\"2.5\">d</Track>"
        "</Disc></Tracks></Item>",
        // a failure part-way keeps the fields set before it, and the item's album
        "<Item><ASIN>A7</ASIN><ItemAttributes><Artist>Artist</Artist><Title>Title</Title><Label>Label</Label>"
        "<ReleaseDate>2004-05-06</ReleaseDate><NumberOfDiscs>2</NumberOfDiscs></ItemAttributes>"
        "<LargeImage><URL>http://covers.example/broken.jpg</URL></LargeImage><Tracks><Disc><Track>One</Track></Disc></Tracks></Item>"}));
    Covers covers;
    LogCapture log;
    QStringList albums = extract(page, covers);
    EXPECT_EQ(log.lines(), QStringList{"SearchEngine:addDetailsForResultEntryFromItem:ToResultList: "
                                       "Caught std::runtime_error: picture source gave up"});
    ASSERT_EQ(albums.size(), 8);
    EXPECT_EQ(albums.takeAt(5).section(u'|', 7, 7), QStringLiteral("1000")) << "tracks past the thousandth are left out";
    EXPECT_EQ(albums, (QStringList{"A1|Art-ist|Ti-t-le|2001||Jazz|3|3|-|[1.1 a-b/Art-ist,1.2 /Art-ist,3.1   spaced  /Art-ist]",
                                   "-|||-|||0|0|-|no list", "-|||-|||0|0|-|[]", "-|Solo||199|||1|1|4x3|[1.1 Only/Solo]",
                                   "-|||1999|||0|0|-|no list", "-|||-|||0|4|-|[7.9 a/,7.2 b/,2.1 c/,3.1 d/]",
                                   "A7|Artist|Title|2004|Label||0|0|-|no list"}))
        << albums.join(u'\n').toStdString();
    EXPECT_EQ(covers.asked, (QStringList{"http://covers.example/a.jpg", "file:///etc/passwd", "http://covers.example/broken.jpg"}));
}

TEST(Extraction, CutsOverLongTextsAndSaysSoOncePerAnswer)
{
    const QString tooLong(3000, u'x'), cut = tooLong.left(1000);
    const std::optional<XmlDocument> page = XmlDocument::parse(itemSearchAnswer({
        "<Item><ItemAttributes><Title>" + tooLong + "</Title><Artist>" + tooLong + "</Artist></ItemAttributes>"
        "<Tracks><Disc><Track>" + tooLong + "</Track></Disc></Tracks></Item>",
        "<Item><ItemAttributes><Label>" + tooLong + "</Label></ItemAttributes></Item>"}));
    Covers covers;
    EXPECT_EQ(extract(page, covers, 0, {TextBounds::cutStatus(QStringLiteral("the storefront"))}),
              (QStringList{"-|" + cut + u'|' + cut + "|-|||0|1|-|[1.1 " + cut + u'/' + cut + u']', "-|||-|" + cut + "||0|0|-|no list"}));
}
