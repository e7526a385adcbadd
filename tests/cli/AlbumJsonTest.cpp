#include "cli/AlbumJson.h"

#include <QJsonArray>
#include <gtest/gtest.h>

// What `search` writes, `tag --album` reads back unchanged; the search tests check the
// written form field by field.
TEST(AlbumJson, ReadsBackWhatItWritesMissingFieldsAsAbsentAndRefusesWrongTypes)
{
    const QJsonObject json{
        {"artistName", "Mira Okafor"}, {"albumName", "Paper Boats"}, {"asinNumber", "B0TW000002"},
        {"yearOfPublication", "2021"}, {"genre", ""}, {"label", QJsonValue::Null}, {"numberOfDiscs", 2},
        {"numberOfTracks", 3}, {"cover", QJsonValue::Null},
        {"trackList", QJsonArray{QJsonObject{{"title", "Glasshouse"}, {"artist", "Mira Okafor"}},
                                 QJsonObject{{"title", QJsonValue::Null}, {"artist", QJsonValue::Null}}}}};
    QString error;
    EXPECT_EQ(albumToJson(albumFromJson(json, &error).value()), json) << error.toStdString();

    // Missing fields read as absent; a cover object names only the picture's size, so it gives no cover.
    const QJsonObject sparse{{"albumName", "Hand Made"}, {"cover", QJsonObject{{"width", 4}, {"height", 3}}}};
    const QJsonValue null = QJsonValue::Null;
    EXPECT_EQ(albumToJson(albumFromJson(sparse, &error).value()),
              (QJsonObject{{"artistName", null}, {"albumName", "Hand Made"}, {"asinNumber", null}, {"yearOfPublication", null},
                           {"genre", null}, {"label", null}, {"numberOfDiscs", 0}, {"numberOfTracks", 0}, {"cover", null},
                           {"trackList", null}}));

    // A field of the wrong type is refused by name.
    const QList<std::pair<QJsonObject, QString>> cases{
        {{{"artistName", 7}}, "\"artistName\""},
        {{{"numberOfDiscs", "2"}}, "\"numberOfDiscs\""},
        {{{"numberOfTracks", 2.5}}, "\"numberOfTracks\""},
        {{{"numberOfTracks", 3e12}}, "\"numberOfTracks\""},
        {{{"trackList", QJsonObject{}}}, "\"trackList\""},
        {{{"trackList", QJsonArray{"Intro"}}}, "track 1"},
        {{{"trackList", QJsonArray{QJsonObject{{"title", "A"}}, QJsonObject{{"artist", true}}}}}, "track 2"},
    };
    for (const auto &[wrong, mention] : cases) {
        EXPECT_FALSE(albumFromJson(wrong, &error)) << mention.toStdString();
        EXPECT_TRUE(error.contains(mention)) << error.toStdString();
    }
}
