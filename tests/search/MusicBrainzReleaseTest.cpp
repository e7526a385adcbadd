#include "search/musicbrainz/MusicBrainzService.h"
#include "search/musicbrainz/ReleaseReader.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

std::optional<XmlDocument> recordedRelease(const char *name)
{
    QFile file(testDataDir() + QStringLiteral("/musicbrainz/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? XmlDocument::parse(file.readAll()) : std::nullopt;
}

QString text(const std::optional<QString> &value)
{
    return value.value_or(QStringLiteral("-"));
}

// artist|album|year|label|asin|genre|discs|tracks|id|releaseGroupId|albumArtistId, "-" for absent.
QString summary(const ResultEntry &album)
{
    return QStringList{text(album.artistName()), text(album.albumName()), text(album.yearOfPublication()),
                       text(album.label()), text(album.asinNumber()), text(album.genre()),
                       QString::number(album.numberOfDiscs()), QString::number(album.numberOfTracks()),
                       text(album.id()), text(album.releaseGroupId()), text(album.albumArtistId())}
        .join(u'|');
}

// disc.number title/artist length id recording artistId
QString trackSummary(const Track &track)
{
    const auto number = [](auto value) { return value ? QString::number(*value) : QStringLiteral("-"); };
    return QStringLiteral("%1.%2 %3/%4 %5 %6 %7 %8")
        .arg(number(track.discNumber()), number(track.numberOnDisc()), text(track.title()), text(track.artist()),
             number(track.lengthMs()), text(track.trackId()), text(track.recordingId()), text(track.artistId()));
}

std::shared_ptr<ResultEntry> lookedUp(const XmlDocument &answer)
{
    const pugi::xml_node release = ReleaseReader::releaseOfLookup(answer);
    std::shared_ptr<ResultEntry> album = ReleaseReader::albumOfRelease(release);
    ReleaseReader::addLookupDetails(*album, release);
    return album;
}

} // namespace

TEST(MusicBrainzRelease, ReadsEveryAlbumOfASearchAnswerInOrder)
{
    const std::optional<XmlDocument> answer = recordedRelease("release-search.xml");
    ASSERT_TRUE(answer);
    QList<std::shared_ptr<ResultEntry>> albums;
    for (const pugi::xml_node &release : ReleaseReader::releasesOfSearch(*answer))
        albums.append(ReleaseReader::albumOfRelease(release));
    ASSERT_EQ(albums.size(), 25);
    const QList<std::pair<int, QString>> full{
        {0, "Dynamo Go|Affordable Pop Music|2008|Waysafe|-|-|1|4|e94757ff-2655-4690-b369-4012beba6114|"
            "6561c223-18e6-3b88-9adc-a701700fc91e|952a4205-023d-4235-897c-6fdb6f58dfaa"},
        {6, "Iggy Pop|Pop Music|-||B0000072ZP|-|1|20|d7519ee9-ed66-4573-a8d8-814e729e1ea3|"
            "a839cc6e-e5a7-3659-91d9-73d05cc41445|f37b3f31-b1f8-4b88-8cb5-b34f709b17d7"},
        {18, "Neil Watson & Mark Sandell|Dance / Pop Music|-|Chappell AV|-|-|1|17|c466130c-c286-49b8-b7ae-e868ac1e7042|"
             "9b4d7297-289a-4542-9828-2dccea7b3bd4|d5d5c3e5-2976-4ac7-acd7-b8bdb9ec7559"},
    };
    for (const auto &[index, expected] : full)
        EXPECT_EQ(summary(*albums[index]), expected) << index;

    // Across all 25: which releases have a date, a label, an ASIN; counts; every identifier.
    QString years, labels, asins, artists;
    qint32 tracks = 0;
    for (const auto &album : albums) {
        years += album->yearOfPublication() ? (album->yearOfPublication()->size() == 4 ? u'y' : u'?') : u'-';
        labels += album->label()->isEmpty() ? u'-' : u'l';
        asins += album->asinNumber() ? u'a' : u'-';
        tracks += album->numberOfTracks();
        EXPECT_EQ(album->numberOfDiscs(), 1);
        EXPECT_FALSE(album->trackList() || album->cover() || album->genre() || album->coverUrl());
        for (const auto &id : {album->id(), album->releaseGroupId(), album->albumArtistId()})
            EXPECT_EQ(id.value_or(QString()).size(), 36) << summary(*album).toStdString();
        artists += album->artistName().value_or(QString()) + u';';
    }
    EXPECT_EQ(years, "yyyyyy-yyyy--yyy-y-yyyyy-");
    EXPECT_EQ(labels, "l--ll--ll-----ll-ll--l-ll");
    EXPECT_EQ(asins, "--aa-aa-a-aa-----a--a-a--");
    EXPECT_EQ(tracks, 322);
    EXPECT_EQ(albums[23]->albumName(), "Cairo Cafe: Arabic Pop Music") << "values stay as the service gives them";
    EXPECT_TRUE(artists.contains(u";Various Artists;[unknown];Various Artists;"));
}

TEST(MusicBrainzRelease, ReadsTracksMediumByMediumWithTheirOwnCredits)
{
    const std::optional<XmlDocument> threeMedia = recordedRelease("release-lookup-3-media-recordings.xml");
    ASSERT_TRUE(threeMedia);
    const std::shared_ptr<ResultEntry> urk = lookedUp(*threeMedia);
    EXPECT_EQ(summary(*urk), "-|Urk|2007||B000LXHGR6|-|3|48|fe29e7f0-eb46-44ba-9348-694166f47885|-|-");
    ASSERT_EQ(urk->trackList()->size(), 48);
    EXPECT_EQ(trackSummary(*urk->trackList()->at(0)),
              "1.1 The Train/- 184000 58a1aa51-1b34-3182-9d71-91dc0e6db368 f0718b28-1e48-4b8e-8e5e-0596cc8ff515 -");
    QStringList numbers;
    for (const int index : {13, 14, 28, 29, 47})
        numbers.append(trackSummary(*urk->trackList()->at(index)).section(u' ', 0, 0));
    EXPECT_EQ(numbers, (QStringList{"1.14", "2.1", "2.15", "3.1", "3.19"}));

    // The track's credit wins over the recording's ("Haruko Kataoka"); the release has no date or label.
    const std::optional<XmlDocument> credited = recordedRelease("release-lookup-recordings-artist-credits.xml");
    ASSERT_TRUE(credited);
    const std::shared_ptr<ResultEntry> suzuki = lookedUp(*credited);
    EXPECT_EQ(summary(*suzuki), "Suzuki Method International|Suzuki Piano School, Volume 2 (feat. piano: Haruko Katakoa)|-||"
                                "087487498X|-|1|14|fbe4490e-e366-4da2-a37a-82162d2f41a9|-|08809019-2a31-4b5c-928a-d57b7742b224");
    EXPECT_EQ(trackSummary(*suzuki->trackList()->at(0)),
              "1.1 Ecossaise/J. A. Hummel 195040 - c66bda20-4efe-4589-b643-f247c17de337 f7ef501b-2bc0-4083-ac52-3518255883a2");
}

TEST(MusicBrainzRelease, TakesTheMostVotedGenreAndFallsBackStepByStep)
{
    const auto genres = [](const char *votes) {
        QString list;
        for (const QString &vote : QString::fromLatin1(votes).split(u',', Qt::SkipEmptyParts))
            list += QStringLiteral("<genre count=\"%1\"><name>%2</name></genre>").arg(vote.section(u'=', 1), vote.section(u'=', 0, 0));
        return list.isEmpty() ? QString() : QStringLiteral("<genre-list>%1</genre-list>").arg(list);
    };
    const QString creditedRecording = QStringLiteral(
        "<recording id=\"r\"><title>Own</title><length>2000</length><artist-credit><name-credit joinphrase=\" feat. \">"
        "<artist id=\"ra\"><name>A</name></artist></name-credit><name-credit><artist id=\"rb\"><name>B</name></artist>"
        "</name-credit></artist-credit></recording>");
    struct Case {
        const char *releaseGenres;
        const char *groupGenres;
        const char *expectedGenre;
        QString track;
        const char *expectedTrack;
    };
    const QList<Case> cases{
        {"jazz=2,rock=5,pop=5", "folk=9", "rock", "<title>Track</title><length>1000</length>" + creditedRecording,
         "1.3 Track/A feat. B 1000 - r ra"},
        {"", "folk=1,soul=4", "soul", "<position>x</position>" + creditedRecording, "1.3 Own/A feat. B 2000 - r ra"},
        {"", "", "-", "<position>7</position><recording id=\"r\"/>", "1.7 -/Release Artist - - r rel"},
    };
    for (const Case &c : cases) {
        const QString xml = QStringLiteral(
            "<metadata xmlns=\"http://musicbrainz.org/ns/mmd-2.0#\"><release id=\"x\">%1<release-group id=\"g\">%2</release-group>"
            "<artist-credit><name-credit><artist id=\"rel\"><name>Release Artist</name></artist></name-credit></artist-credit>"
            "<medium-list><medium><track-list><track/><track/><track>%3</track></track-list></medium></medium-list>"
            "</release></metadata>").arg(genres(c.releaseGenres), genres(c.groupGenres), c.track);
        const std::optional<XmlDocument> answer = XmlDocument::parse(xml.toUtf8());
        ASSERT_TRUE(answer);
        const std::shared_ptr<ResultEntry> album = lookedUp(*answer);
        EXPECT_EQ(text(album->genre()), c.expectedGenre);
        EXPECT_EQ(trackSummary(*album->trackList()->at(2)), c.expectedTrack);
    }
}

TEST(MusicBrainzService, EscapesQuerySyntaxAndKeepsIdentifiersInTheirPathSegment)
{
    const QList<std::pair<QString, QString>> escapes{
        {"AC/DC", "AC\\/DC"},
        {"Rock && Roll || not!", "Rock \\&\\& Roll \\|\\| not\\!"},
        {"+-(){}[]^\"~*?:\\", "\\+\\-\\(\\)\\{\\}\\[\\]\\^\\\"\\~\\*\\?\\:\\\\"},
        {"Björk Post", "Björk Post"},
    };
    for (const auto &[keywords, escaped] : escapes)
        EXPECT_EQ(MusicBrainzService::luceneEscaped(keywords), escaped);
    EXPECT_EQ(MusicBrainzService::searchUrl("http://127.0.0.1:9", "AC/DC Live").toStdString(),
              "http://127.0.0.1:9/ws/2/release/?query=AC%5C%2FDC%20Live&limit=25");
    EXPECT_EQ(MusicBrainzService::lookupUrl("https://mb", "a/b?c"),
              "https://mb/ws/2/release/a%2Fb%3Fc?inc=artist-credits+labels+recordings+release-groups+genres");
    EXPECT_EQ(MusicBrainzService::coverUrl("https://caa", "m-1"), "https://caa/release/m-1/front-500");
    EXPECT_TRUE(QRegularExpression("^Tagwright/\\d+\\.\\d+\\.\\d+ \\( https://\\S+ \\)$")
                    .match(QString::fromLatin1(MusicBrainzService::userAgent())).hasMatch());
}
