#include "search/SearchEngine.h"
#include "support/LogCapture.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QFile>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::optional<XmlDocument> fixture(const char *name)
{
    QFile file(testDataDir() + QStringLiteral("/itemsearch/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return XmlDocument::parse(file.readAll());
}

// An ItemSearch answer around the given items.
std::optional<XmlDocument> answerWithItems(const QString &items)
{
    return XmlDocument::parse(itemSearchAnswer({items}));
}

QImage solidImage()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

// Hands out a small picture for every URL asked for and remembers the URLs.
struct RecordingCovers {
    QStringList asked;
    SearchEngine::CoverLookup lookup()
    {
        return [this](const QString &url) -> std::optional<QImage> {
            asked.append(url);
            return solidImage();
        };
    }
};

const SearchEngine::CoverLookup noCovers = [](const QString &) -> std::optional<QImage> { return std::nullopt; };

QStringList titlesOf(const ResultEntry &entry)
{
    QStringList titles;
    for (const auto &track : *entry.trackList())
        titles.append(track->title().value_or(QStringLiteral("<absent>")));
    return titles;
}

} // namespace

TEST(Extraction, ReadsEveryItemOfTheLargeAnswerInOrder)
{
    const std::optional<XmlDocument> page = fixture("music-jp-large-keywords-page1.xml");
    ASSERT_TRUE(page);
    EXPECT_EQ(SearchEngine::getTotalPagesFromItemSearchResult(&*page), 44);

    SearchEngine engine(ServiceConfig::placeholders());
    RecordingCovers covers;
    ResultList list;
    engine.addResultEntriesFromResult(&*page, list, covers.lookup());
    ASSERT_EQ(list.size(), 10);

    const QStringList asins{"B000CZ0Q5W", "B01DCKRVC4", "B01K24FGES", "B01CDBON10", "B000CZ0Q6G",
                            "B01IRRBO2A", "B00GZ6L48U", "B000UCEJCI", "B01LVWGO45", "B01A98YCUQ"};
    const QList<int> trackCounts{7, 0, 8, 0, 12, 0, 0, 19, 13, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(list[i]->asinNumber(), asins[i]);
        EXPECT_EQ(list[i]->numberOfTracks(), trackCounts[i]) << i;
        EXPECT_EQ(list[i]->trackList() != nullptr, trackCounts[i] > 0) << i; // no Tracks element, no list
        EXPECT_EQ(list[i]->genre(), QString()) << "no browse node is named Allgemein here";
        EXPECT_TRUE(list[i]->cover().has_value());
    }
    EXPECT_EQ(covers.asked.size(), 10);
    EXPECT_EQ(covers.asked[4], QStringLiteral("http://ecx.images-amazon.com/images/I/61Zngr%2BS1uL.jpg"));

    const ResultEntry &first = *list[0];
    EXPECT_EQ(first.artistName(), QStringLiteral("Pat Metheny"));
    EXPECT_EQ(first.albumName(), QStringLiteral("Still Life (Talking)"));
    EXPECT_EQ(first.yearOfPublication(), QStringLiteral("2006"));
    EXPECT_EQ(first.label(), QStringLiteral("Nonesuch"));
    EXPECT_EQ(first.numberOfDiscs(), 1);
    EXPECT_EQ(titlesOf(first).first(), QStringLiteral("Minuando (Six Eight)"));
    EXPECT_EQ(titlesOf(first).last(), QStringLiteral("In Her Family"));

    // Two discs of 14 and 5 tracks run on in one list, every track credited to the album artist.
    const ResultEntry &secretStory = *list[7];
    EXPECT_EQ(secretStory.numberOfDiscs(), 2);
    const QStringList titles = titlesOf(secretStory);
    EXPECT_EQ(titles[0], QStringLiteral("Above the Treetops"));
    EXPECT_EQ(titles[18], QStringLiteral("Et Si C'etait La Fin (As If It Was The End)"));
    for (const auto &track : *secretStory.trackList())
        EXPECT_EQ(track->artist(), QStringLiteral("Pat Metheny"));

    // Disc count as stated, even without any track data.
    EXPECT_EQ(list[1]->numberOfDiscs(), 2);
    EXPECT_EQ(list[2]->artistName(), QString::fromUtf8("パット・メセニー"));
    EXPECT_EQ(list[2]->label(), QString::fromUtf8("ユニバーサル ミュージック"));
}

TEST(Extraction, PostsOneStatusLinePerItemCountingTheWholeList)
{
    const std::optional<XmlDocument> page = fixture("all-de-small-keywords-page1.xml");
    ASSERT_TRUE(page);
    SearchEngine engine(ServiceConfig::placeholders());
    ResultList list{std::make_shared<ResultEntry>(), std::make_shared<ResultEntry>()};

    QStringList messages;
    ScopedObserver observer(QVStatusChangedNotification,
                            [&](const QString &, const void *sender, const QVariantMap &info) {
                                EXPECT_EQ(sender, &engine);
                                // The record is in the list before its line is posted.
                                EXPECT_EQ(QStringLiteral("New entry processed. %1 entries processed.").arg(list.size()),
                                          info.value(QVStatusKey).toString());
                                messages.append(info.value(QVStatusKey).toString());
                            });
    engine.addResultEntriesFromResult(&*page, list, noCovers);

    ASSERT_EQ(messages.size(), 10);
    EXPECT_EQ(messages.first(), QStringLiteral("New entry processed. 3 entries processed."));
    EXPECT_EQ(messages.last(), QStringLiteral("New entry processed. 12 entries processed."));

    // The small answer has no dates, labels, images or tracks; items with only a Creator
    // get the empty artist, and a colon in a title becomes a hyphen.
    const ResultEntry &book = *list[2 + 6];
    EXPECT_EQ(book.asinNumber(), QStringLiteral("3453196082"));
    EXPECT_EQ(book.albumName(), QStringLiteral("Michael Jackson- Die wahre Geschichte"));
    EXPECT_EQ(book.artistName(), QString());
    EXPECT_EQ(book.label(), QString());
    EXPECT_FALSE(book.yearOfPublication().has_value());
    EXPECT_FALSE(book.cover().has_value());
    EXPECT_EQ(list[2]->artistName(), QStringLiteral("Michael Jackson"));
    EXPECT_EQ(SearchEngine::getTotalPagesFromItemSearchResult(&*page), 1326);
}

TEST(Extraction, CreatorWithoutArtistAndTwoArtistsGiveTheEmptyArtist)
{
    SearchEngine engine(ServiceConfig::placeholders());
    RecordingCovers covers;
    ResultList list;

    const std::optional<XmlDocument> medium = fixture("music-us-medium-single-item.xml");
    ASSERT_TRUE(medium);
    engine.addResultEntriesFromResult(&*medium, list, covers.lookup());
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0]->artistName(), QString());
    EXPECT_EQ(list[0]->albumName(), QStringLiteral("Green Ep"));
    EXPECT_EQ(list[0]->label(), QString());
    EXPECT_EQ(list[0]->yearOfPublication(), QStringLiteral("2007"));
    EXPECT_EQ(covers.asked, QStringList{QStringLiteral("http://ecx.images-amazon.com/images/I/41rwJM9pcaL.jpg")});
    EXPECT_EQ(list[0]->trackList(), nullptr);

    // A lookup answer: its item is handed over directly.
    const std::optional<XmlDocument> lookup = fixture("lookup-music-us-two-artists-edited.xml");
    ASSERT_TRUE(lookup);
    const QList<pugi::xml_node> items = XmlDocument::nodesForXPath(lookup->node(), "ItemLookupResponse/Items/Item");
    ASSERT_EQ(items.size(), 1);
    engine.addDetailsForResultEntryFromItem(items.first(), list, covers.lookup());
    const ResultEntry &duet = *list[1];
    EXPECT_EQ(duet.artistName(), QString());
    EXPECT_EQ(duet.numberOfTracks(), 18);
    EXPECT_EQ(titlesOf(duet).first(), QStringLiteral("No Wonder"));
    for (const auto &track : *duet.trackList())
        EXPECT_EQ(track->artist(), QString());
    EXPECT_EQ(duet.label(), QStringLiteral("Deutsche Grammophon"));
    EXPECT_FALSE(duet.cover().has_value());
}

TEST(Extraction, ErrorAnswersGiveNoItemsAndNoTotal)
{
    SearchEngine engine(ServiceConfig::placeholders());
    for (const char *name : {"error-noexactmatches-music-us-medium.xml", "error-signaturedoesnotmatch-itemsearch.xml"}) {
        const std::optional<XmlDocument> page = fixture(name);
        ASSERT_TRUE(page) << name;
        ResultList list;
        engine.addResultEntriesFromResult(&*page, list, noCovers);
        EXPECT_TRUE(list.isEmpty()) << name;
        EXPECT_EQ(SearchEngine::getTotalPagesFromItemSearchResult(&*page), 0) << name;
    }
    ResultList list;
    engine.addResultEntriesFromResult(nullptr, list, noCovers);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(SearchEngine::getTotalPagesFromItemSearchResult(nullptr), 0);
}

TEST(Extraction, EdgeCasesOfOneItem)
{
    const std::optional<XmlDocument> page = answerWithItems(QStringLiteral(
        // 0: colons, genre from the first matching browse node, discs without tracks in between
        "<Item><ASIN>A1</ASIN><ItemAttributes><Artist>Art:ist</Artist><Title>Ti:t:le</Title>"
        "<ReleaseDate>2001</ReleaseDate><NumberOfDiscs>3 discs</NumberOfDiscs></ItemAttributes>"
        "<BrowseNodes>"
        "<BrowseNode><Name>allgemein</Name><Ancestors><BrowseNode><Name>Wrong case</Name></BrowseNode></Ancestors></BrowseNode>"
        "<BrowseNode><Name>Allgemein</Name><Ancestors><BrowseNode><Name>Jazz</Name>"
        "<Ancestors><BrowseNode><Name>Deeper</Name></BrowseNode></Ancestors></BrowseNode></Ancestors></BrowseNode>"
        "<BrowseNode><Name>Allgemein</Name><Ancestors><BrowseNode><Name>Rock</Name></BrowseNode></Ancestors></BrowseNode>"
        "</BrowseNodes>"
        "<Tracks><Disc Number=\"1\"><Track Number=\"1\">a:b:c</Track><Track Number=\"2\"></Track></Disc>"
        "<Disc Number=\"2\"/><Disc Number=\"3\"><Track>  spaced  </Track></Disc></Tracks></Item>"
        // 1: nothing at all
        "<Item/>"
        // 2: discs without any track
        "<Item><Tracks><Disc/><Disc/></Tracks><ItemAttributes><NumberOfDiscs>x</NumberOfDiscs></ItemAttributes></Item>"
        // 3: a date of three characters, and what follows it
        "<Item><ASIN>A3</ASIN><ItemAttributes><ReleaseDate>199</ReleaseDate><Artist>Solo</Artist>"
        "<NumberOfDiscs>1</NumberOfDiscs></ItemAttributes><LargeImage><URL>http://covers.example/a.jpg</URL></LargeImage>"
        "<Tracks><Disc><Track>Only</Track></Disc></Tracks></Item>"
        // 4: a cover that cannot be had
        "<Item><ASIN>A4</ASIN><LargeImage><URL>file:///etc/passwd</URL></LargeImage>"
        "<ItemAttributes><ReleaseDate>1999-12-31</ReleaseDate></ItemAttributes></Item>"));
    ASSERT_TRUE(page);

    SearchEngine engine(ServiceConfig::placeholders());
    ResultList list;
    const SearchEngine::CoverLookup httpOnly = [](const QString &url) -> std::optional<QImage> {
        if (!SearchEngine::isFetchableCoverUrl(url))
            return std::nullopt;
        return solidImage();
    };
    LogCapture log;
    engine.addResultEntriesFromResult(&*page, list, httpOnly);
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(u'\n').toStdString();
    ASSERT_EQ(list.size(), 5);

    const ResultEntry &full = *list[0];
    EXPECT_EQ(full.artistName(), QStringLiteral("Art-ist"));
    EXPECT_EQ(full.albumName(), QStringLiteral("Ti-t-le"));
    EXPECT_EQ(full.genre(), QStringLiteral("Jazz"));
    EXPECT_EQ(full.yearOfPublication(), QStringLiteral("2001"));
    EXPECT_EQ(full.numberOfDiscs(), 3);
    EXPECT_EQ(titlesOf(full), (QStringList{"a-b-c", "", "  spaced  "}));
    EXPECT_EQ(full.numberOfTracks(), 3);
    for (const auto &track : *full.trackList())
        EXPECT_EQ(track->artist(), QStringLiteral("Art-ist"));

    const ResultEntry &empty = *list[1];
    EXPECT_FALSE(empty.asinNumber() || empty.yearOfPublication() || empty.cover());
    EXPECT_EQ(empty.artistName(), QString());
    EXPECT_EQ(empty.albumName(), QString());
    EXPECT_EQ(empty.genre(), QString());
    EXPECT_EQ(empty.label(), QString());
    EXPECT_EQ(empty.numberOfDiscs(), 0);
    EXPECT_EQ(empty.trackList(), nullptr);

    ASSERT_NE(list[2]->trackList(), nullptr);
    EXPECT_TRUE(list[2]->trackList()->isEmpty());
    EXPECT_EQ(list[2]->numberOfTracks(), 0);
    EXPECT_EQ(list[2]->numberOfDiscs(), 0);

    // A short release date is taken as it stands, and the extraction carries on.
    const ResultEntry &shortDate = *list[3];
    EXPECT_EQ(shortDate.yearOfPublication(), QStringLiteral("199"));
    EXPECT_TRUE(shortDate.cover().has_value());
    EXPECT_EQ(shortDate.numberOfDiscs(), 1);
    EXPECT_EQ(shortDate.numberOfTracks(), 1);

    EXPECT_FALSE(list[4]->cover().has_value());
    EXPECT_EQ(list[4]->yearOfPublication(), QStringLiteral("1999"));
}

TEST(Extraction, AFailureIsLoggedAndKeepsTheFieldsSetBeforeIt)
{
    const std::optional<XmlDocument> page = answerWithItems(QStringLiteral(
        "<Item><ASIN>A1</ASIN><ItemAttributes><Artist>Artist</Artist><Title>Title</Title><Label>Label</Label>"
        "<ReleaseDate>2004-05-06</ReleaseDate><NumberOfDiscs>2</NumberOfDiscs></ItemAttributes>"
        "<LargeImage><URL>http://covers.example/broken.jpg</URL></LargeImage>"
        "<Tracks><Disc><Track>One</Track></Disc></Tracks></Item>"
        "<Item><ASIN>A2</ASIN></Item>"));
    ASSERT_TRUE(page);

    SearchEngine engine(ServiceConfig::placeholders());
    const SearchEngine::CoverLookup failing = [](const QString &) -> std::optional<QImage> {
        throw std::runtime_error("picture source gave up");
    };
    StatusRecorder status;
    LogCapture log;
    ResultList list;
    engine.addResultEntriesFromResult(&*page, list, failing);

    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(log.lines().first(), QStringLiteral("SearchEngine:addDetailsForResultEntryFromItem:ToResultList: "
                                                  "Caught std::runtime_error: picture source gave up"));
    ASSERT_EQ(list.size(), 2);
    const ResultEntry &broken = *list[0];
    EXPECT_EQ(broken.asinNumber(), QStringLiteral("A1"));
    EXPECT_EQ(broken.artistName(), QStringLiteral("Artist"));
    EXPECT_EQ(broken.albumName(), QStringLiteral("Title"));
    EXPECT_EQ(broken.label(), QStringLiteral("Label"));
    EXPECT_EQ(broken.yearOfPublication(), QStringLiteral("2004"));
    EXPECT_FALSE(broken.cover().has_value());
    EXPECT_EQ(broken.numberOfDiscs(), 0);
    EXPECT_EQ(broken.numberOfTracks(), 0);
    EXPECT_EQ(broken.trackList(), nullptr);
    EXPECT_EQ(list[1]->asinNumber(), QStringLiteral("A2"));
    EXPECT_EQ(status.lines, (QStringList{"New entry processed. 1 entries processed.",
                                         "New entry processed. 2 entries processed."}));
}
