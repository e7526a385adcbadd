// The tag command: album JSON in, tags out; bad input touches nothing.
#include "CliTestFolder.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject album(const char *name, const QJsonValue &tracks)
{
    return {{"artistName", "Band"}, {"albumName", name}, {"asinNumber", QJsonValue::Null},
            {"yearOfPublication", "2001"}, {"genre", "Pop"}, {"label", "Label"}, {"numberOfDiscs", 1},
            {"numberOfTracks", 2}, {"cover", QJsonValue::Null}, {"trackList", tracks}};
}

class TagCommandTest : public CliTestFolder {
protected:
    QStringList songs(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths.append(path(QStringLiteral("song%1.mp3").arg(i + 1)));
            EXPECT_TRUE(Mp3Fixtures::writeMp3(paths.last(), 8 * Mp3Fixtures::frameSize, quint32(i + 1)));
        }
        return paths;
    }
    QString albumFile(const QJsonDocument &document) { return writeFile("albums.json", document.toJson()); }
    QJsonObject readBack(const QString &file)
    {
        return QJsonDocument::fromJson(runCli({"read", file}).out).array().first().toObject();
    }
};

} // namespace

TEST_F(TagCommandTest, TagsFilesFromTheChosenAlbumWithACover)
{
    const QJsonArray tracks{QJsonObject{{"title", "First"}, {"artist", "Guest"}},
                            QJsonObject{{"title", "Second"}, {"artist", QJsonValue::Null}}};
    const QString albums = albumFile(QJsonDocument(QJsonArray{album("Other", QJsonValue::Null), album("Chosen", tracks)}));
    const QString cover = path("cover.png");
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(cover));
    const QStringList files = songs(3);

    const CliResult result = runCli(QStringList{"tag", "--album", albums, "--index", "1", "--cover", cover} + files);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.err, "Tagging new files. 1 files processed.\nTagging new files. 2 files processed.\n"
                          "Tagging new files. 3 files processed.\n");
    const QJsonObject first = readBack(files[0]);
    EXPECT_EQ(first["Album"].toString(), "Chosen");
    EXPECT_EQ(first["Title"].toString(), "First");
    EXPECT_EQ(first["ArtistTrack"].toString(), "Guest");
    EXPECT_EQ(first["ArtistAlbum"].toString(), "Band");
    EXPECT_EQ(first["TrackCount"].toString(), "2");
    EXPECT_EQ(first["Cover"].toObject(), (QJsonObject{{"width", 40}, {"height", 30}}));
    const QJsonObject third = readBack(files[2]);
    EXPECT_EQ(third["Title"].toString(), "song3.mp3");
    EXPECT_EQ(third["ArtistTrack"].toString(), "Guest");

    // The object itself on standard input; a null track list takes the files' names.
    const CliResult piped = runCli({"tag", "--album", "-", files[0]},
                                   QJsonDocument(album("Piped", QJsonValue::Null)).toJson());
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(readBack(files[0])["Title"].toString(), "song1.mp3");
    EXPECT_EQ(readBack(files[0])["Album"].toString(), "Piped");
}

TEST_F(TagCommandTest, BadInputNamesTheProblemAndTouchesNothing)
{
    const QStringList files = songs(2);
    const QByteArray before = contents(files[0]);
    const QString damaged =
        writeFile("damaged.mp3", QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + Mp3Fixtures::audio());
    const QString good = albumFile(QJsonDocument(album("A", QJsonValue::Null)));
    const QString malformed = writeFile("malformed.json", "{\"albumName\": ");

    struct Case {
        QStringList arguments;
        QByteArray expected;
    };
    const QList<Case> cases = {
        {{"tag", "--album", malformed, files[0]}, QFile::encodeName(malformed) + ": malformed JSON"},
        {{"tag", "--album", path("none.json"), files[0]}, "none.json: no such file"},
        {{"tag", "--album", good, "--index", "2", files[0]}, "none at index 2"},
        {{"tag", "--album", good, files[0], damaged}, QFile::encodeName(damaged) + ": not an MP3 file"},
        {{"tag", "--album", good, files[0], path("gone.mp3")}, "gone.mp3: no such file"},
        {{"tag", "--album", good, "--cover", malformed, files[0]}, "cannot be read as an image"},
        {{"tag", files[0]}, "--album FILE"},
    };
    for (const Case &c : cases) {
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.expected)) << result.err.toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
    }
    EXPECT_EQ(contents(files[0]), before);
    EXPECT_EQ(entries().size(), 5);
}
