#include "cli/AlbumJson.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

ResultEntry fullAlbum()
{
    ResultEntry album;
    album.setArtistName(QStringLiteral("Mira Okafor"));
    album.setAlbumName(QStringLiteral("Paper Boats"));
    album.setAsinNumber(QStringLiteral("B0TW000002"));
    album.setYearOfPublication(QStringLiteral("2021"));
    album.setGenre(QString());
    album.setLabel(QStringLiteral("Saltmarsh Music"));
    album.setNumberOfDiscs(2);
    album.setNumberOfTracks(3);
    album.setCover(QImage(40, 30, QImage::Format_RGB32));
    auto tracks = std::make_shared<TrackList>();
    for (const char *title : {"Intro", "Glasshouse"}) {
        auto track = std::make_shared<Track>();
        track->setTitle(QString::fromUtf8(title));
        track->setArtist(QStringLiteral("Mira Okafor"));
        tracks->append(track);
    }
    tracks->append(std::make_shared<Track>());  // both texts absent
    album.setTrackList(tracks);
    return album;
}

} // namespace

TEST(AlbumJson, WritesEveryFieldAndReadsItBack)
{
    const QJsonObject json = albumToJson(fullAlbum());
    EXPECT_EQ(json[u"genre"], QJsonValue(""));
    EXPECT_EQ(json[u"cover"].toObject(), (QJsonObject{{"width", 40}, {"height", 30}}));
    EXPECT_EQ(json[u"trackList"].toArray()[2].toObject(),
              (QJsonObject{{"title", QJsonValue::Null}, {"artist", QJsonValue::Null}}));
    EXPECT_TRUE(albumToJson(ResultEntry())[u"artistName"].isNull());
    EXPECT_TRUE(albumToJson(ResultEntry())[u"trackList"].isNull());

    QString error;
    const std::optional<ResultEntry> album = albumFromJson(json, &error);
    ASSERT_TRUE(album) << error.toStdString();
    EXPECT_EQ(album->artistName(), u"Mira Okafor");
    EXPECT_EQ(album->asinNumber(), u"B0TW000002");
    EXPECT_EQ(album->genre(), u"");
    EXPECT_EQ(album->numberOfDiscs(), 2);
    EXPECT_EQ(album->numberOfTracks(), 3);
    EXPECT_FALSE(album->cover());  // the JSON holds only the picture's size
    ASSERT_TRUE(album->trackList());
    ASSERT_EQ(album->trackList()->size(), 3);
    EXPECT_EQ(album->trackList()->at(1)->title(), u"Glasshouse");
    EXPECT_FALSE(album->trackList()->at(2)->title());
    // Written again, it gives the same JSON but for the cover.
    QJsonObject withoutCover = json;
    withoutCover[u"cover"] = QJsonValue::Null;
    EXPECT_EQ(albumToJson(*album), withoutCover);
}

TEST(AlbumJson, ReadsMissingFieldsAsAbsent)
{
    QString error;
    const std::optional<ResultEntry> album = albumFromJson(QJsonObject{{"albumName", "Hand Made"}}, &error);
    ASSERT_TRUE(album) << error.toStdString();
    EXPECT_EQ(album->albumName(), u"Hand Made");
    EXPECT_FALSE(album->artistName());
    EXPECT_EQ(album->numberOfTracks(), 0);
    EXPECT_FALSE(album->trackList());
}

TEST(AlbumJson, RefusesFieldsOfTheWrongType)
{
    const QList<std::pair<QJsonObject, QString>> cases{
        {{{"artistName", 7}}, "\"artistName\""},
        {{{"numberOfDiscs", "2"}}, "\"numberOfDiscs\""},
        {{{"numberOfTracks", 2.5}}, "\"numberOfTracks\""},
        {{{"numberOfTracks", 3e12}}, "\"numberOfTracks\""},
        {{{"trackList", QJsonObject{}}}, "\"trackList\""},
        {{{"trackList", QJsonArray{"Intro"}}}, "track 1"},
        {{{"trackList", QJsonArray{QJsonObject{{"title", "A"}}, QJsonObject{{"artist", true}}}}}, "track 2"},
    };
    for (const auto &[json, mention] : cases) {
        QString error;
        EXPECT_FALSE(albumFromJson(json, &error)) << mention.toStdString();
        EXPECT_TRUE(error.contains(mention)) << error.toStdString();
    }
}
