#include "cli/AlbumJson.h"

#include <QJsonArray>
#include <gtest/gtest.h>

// What `search` and `album` write, `tag --album` reads back unchanged; the search tests check
// the written form field by field.
TEST(AlbumJson, ReadsBackWhatItWritesMissingFieldsAsAbsentAndRefusesWrongTypes)
{
    const QJsonValue null = QJsonValue::Null;
    const QJsonObject json{
        {"artistName", "Mira Okafor"}, {"albumName", "Paper Boats"}, {"asinNumber", "B0TW000002"},
        {"yearOfPublication", "2021"}, {"genre", ""}, {"label", null}, {"numberOfDiscs", 2},
        {"numberOfTracks", 3}, {"cover", null}, {"coverUrl", "http://127.0.0.1:9/release/r/front-500"},
        {"id", "r"}, {"releaseGroupId", "g"}, {"albumArtistId", null},
        // What tells an edition apart is written only where known: the sparse album below has none.
        {"country", "GB"}, {"date", "2021-03"}, {"format", "2\u00d7CD"}, {"barcode", "0123"}, {"catalogNumber", "PB 2"},
        {"releaseType", "Live"},
        {"trackList", QJsonArray{QJsonObject{{"title", "Glasshouse"}, {"artist", "Mira Okafor"}, {"discNumber", 2},
                                             {"trackNumber", 7}, {"length", 5'000'000'000.0}, {"id", "t"},
                                             {"recordingId", "rec"}, {"artistId", "a"}},
                                 QJsonObject{{"title", null}, {"artist", null}, {"discNumber", null}, {"trackNumber", null},
                                             {"length", null}, {"id", null}, {"recordingId", null}, {"artistId", null}}}}};
    QString error;
    EXPECT_EQ(albumToJson(albumFromJson(json, &error).value()), json) << error.toStdString();

    // Missing fields read as absent; a cover object names only the picture's size, so it gives no cover.
    const QJsonObject sparse{{"albumName", "Hand Made"}, {"cover", QJsonObject{{"width", 4}, {"height", 3}}}};
    EXPECT_EQ(albumToJson(albumFromJson(sparse, &error).value()),
              (QJsonObject{{"artistName", null}, {"albumName", "Hand Made"}, {"asinNumber", null}, {"yearOfPublication", null},
                           {"genre", null}, {"label", null}, {"numberOfDiscs", 0}, {"numberOfTracks", 0}, {"cover", null},
                           {"coverUrl", null}, {"id", null}, {"releaseGroupId", null}, {"albumArtistId", null},
                           {"trackList", null}}));

    // A field of the wrong type or out of range is refused by name.
    const auto track = [](const char *key, const QJsonValue &value) {
        return QJsonObject{{"trackList", QJsonArray{QJsonObject{{key, value}}}}};
    };
    const QList<std::pair<QJsonObject, QString>> cases{
        {{{"artistName", 7}}, "\"artistName\""},
        {{{"id", QJsonArray{}}}, "\"id\""},
        {{{"numberOfDiscs", "2"}}, "\"numberOfDiscs\""},
        {{{"numberOfTracks", 2.5}}, "\"numberOfTracks\""},
        {{{"numberOfTracks", 3e12}}, "\"numberOfTracks\""},
        {{{"trackList", QJsonObject{}}}, "\"trackList\""},
        {{{"trackList", QJsonArray{"Intro"}}}, "track 1"},
        {{{"trackList", QJsonArray{QJsonObject{{"title", "A"}}, QJsonObject{{"artist", true}}}}}, "track 2"},
        {track("discNumber", 0), "\"discNumber\" must be a whole number from 1 to 999"},
        {track("discNumber", -1), "\"discNumber\" must be a whole number from 1 to 999"},
        {track("discNumber", 1000), "\"discNumber\" must be a whole number from 1 to 999"},
        {track("discNumber", double(1LL << 40)), "\"discNumber\" must be a whole number from 1 to 999"},
        {track("trackNumber", "3"), "\"trackNumber\""},
        {track("length", -1), "\"length\""},
        {track("recordingId", 5), "\"recordingId\""},
    };
    for (const auto &[wrong, mention] : cases) {
        EXPECT_FALSE(albumFromJson(wrong, &error)) << mention.toStdString();
        EXPECT_TRUE(error.contains(mention)) << error.toStdString();
    }
}
