// The tag command: album JSON in, tags out; bad input touches nothing.
#include "CliTestFolder.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class TagCommandTest : public CliTestFolder {
protected:
    TagCommandTest()
    {
        for (const QString &song : songs)
            EXPECT_TRUE(Mp3Fixtures::writeMp3(song));
    }
    QJsonObject readBack(const QString &file)
    {
        return QJsonDocument::fromJson(runCli({"read", file}).out).array().first().toObject();
    }
    const QStringList songs{path("song1.mp3"), path("song2.mp3")};
};

} // namespace

TEST_F(TagCommandTest, TagsFilesFromTheChosenAlbumWithACover)
{
    const QJsonArray tracks{QJsonObject{{"title", "First"}, {"artist", "Guest"}}};
    const QJsonObject chosen{{"artistName", "Band"}, {"albumName", "Chosen"}, {"trackList", tracks}};
    const QString albums = writeFile("albums.json", QJsonDocument(QJsonArray{QJsonObject{{"albumName", "Other"}}, chosen}).toJson());
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(path("cover.png")));

    const CliResult result = runCli(QStringList{"tag", "--album", albums, "--index", "1", "--cover", path("cover.png")} + songs);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errLines(), (QStringList{"Tagging new files. 1 files processed.", "Tagging new files. 2 files processed."}));
    const QJsonObject first = readBack(songs[0]);
    EXPECT_EQ(first["Album"], "Chosen");
    EXPECT_EQ(first["Title"], "First");
    EXPECT_EQ(first["ArtistTrack"], "Guest");
    EXPECT_EQ(first["Cover"], (QJsonObject{{"width", 40}, {"height", 30}}));
    EXPECT_EQ(readBack(songs[1])["Title"], "song2.mp3");

    // The object itself on standard input.
    EXPECT_EQ(runCli({"tag", "--album", "-", songs[0]}, R"({"albumName": "Piped"})").exitCode, 0);
    EXPECT_EQ(readBack(songs[0])["Album"], "Piped");
}

TEST_F(TagCommandTest, BadInputNamesTheProblemAndTouchesNothing)
{
    const QByteArray before = contents(songs[0]);
    const QString damaged = writeFile("damaged.mp3", QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + Mp3Fixtures::audio());
    const QString good = writeFile("album.json", R"([{"albumName": "A"}])");
    const QString malformed = writeFile("malformed.json", "{\"albumName\": ");
    const QList<std::pair<QStringList, QString>> cases = {
        {{"--album", malformed, songs[0]}, malformed + ": malformed JSON"},
        {{"--album", path("none.json"), songs[0]}, "none.json: no such file"},
        {{"--album", good, "--index", "1", songs[0]}, "none at index 1"},
        {{"--album", good, songs[0], damaged}, damaged + ": not an MP3 file"},
        {{"--album", good, songs[0], path("gone.mp3")}, "gone.mp3: no such file"},
        {{"--album", good, "--cover", malformed, songs[0]}, "cannot be read as an image"},
        {{songs[0]}, "--album FILE"},
    };
    for (const auto &[arguments, expected] : cases) {
        const CliResult result = runCli(QStringList{"tag"} + arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(result.errLines().size(), 1) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(expected.toUtf8())) << result.err.toStdString();
    }
    EXPECT_EQ(contents(songs[0]), before);
    EXPECT_EQ(entries().size(), 5);
}
