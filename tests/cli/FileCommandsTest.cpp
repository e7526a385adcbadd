// The read and untag commands, and what a damaged tag or an interrupted or failing write
// leaves behind for the two commands that write files (untag and tag).
#include "CliTestFolder.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class FileCommandsTest : public CliTestFolder {
protected:
    QString tagged(const char *name, qint64 audioBytes = 8 * Mp3Fixtures::frameSize)
    {
        const QString file = path(QString::fromLatin1(name));
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(file, {{"Title", "A Title"}, {"ArtistAlbum", "Band"},
                                                       {"TrackNo", "4"}, {"TrackCount", "9"},
                                                       {"Cover", Mp3Fixtures::jpegPicture(32, 24)}},
                                                audioBytes));
        return file;
    }
    QString albumFile() { return writeFile("album.json", R"({"albumName": "A"})"); }
    QString albumOf(const QString &file)
    {
        return QJsonDocument::fromJson(runCli({"read", file}).out).array().first()["Album"].toString();
    }
};

} // namespace

TEST_F(FileCommandsTest, ReadPrintsOneObjectPerFileAndNamesBadOnes)
{
    const QString song = tagged("song.mp3");
    const QString plain = path("plain.mp3");
    ASSERT_TRUE(Mp3Fixtures::writeMp3(plain));
    const QString text = writeFile("notes.mp3", "just some text, no audio");
    const QString missing = path("missing.mp3");

    const CliResult result = runCli({"read", song, plain, text, missing});
    EXPECT_EQ(result.exitCode, 1);
    const QJsonArray array = QJsonDocument::fromJson(result.out).array();
    ASSERT_EQ(array.size(), 4);
    const QJsonObject first = array[0].toObject();
    EXPECT_EQ(first["Title"].toString(), "A Title");
    EXPECT_EQ(first["ArtistAlbum"].toString(), "Band");
    EXPECT_EQ(first["TrackNo"].toString(), "4");
    EXPECT_EQ(first["TrackCount"].toString(), "9");
    EXPECT_EQ(first["Cover"].toObject(), (QJsonObject{{"width", 32}, {"height", 24}}));
    EXPECT_EQ(array[1].toObject(), QJsonObject());
    EXPECT_TRUE(array[2].isNull());
    EXPECT_TRUE(array[3].isNull());
    const QList<QByteArray> lines = result.err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(QFile::encodeName(text)) && lines[0].contains("not an MP3 file"));
    EXPECT_TRUE(lines[1].contains(QFile::encodeName(missing)) && lines[1].contains("no such file"));

    EXPECT_EQ(runCli({"read"}).exitCode, 2);
}

TEST_F(FileCommandsTest, UntagRemovesTagsOrTouchesNothingOnBadInput)
{
    const QString song = tagged("song.mp3");
    const QByteArray before = contents(song);
    const QString text = writeFile("notes.mp3", "just some text, no audio");

    const CliResult refused = runCli({"untag", song, text, path("missing.mp3")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err.count('\n'), 2);
    EXPECT_TRUE(refused.err.contains(QFile::encodeName(text) + ": not an MP3 file"));
    EXPECT_EQ(contents(song), before);

    const CliResult done = runCli({"untag", song});
    EXPECT_EQ(done.exitCode, 0);
    EXPECT_EQ(done.err, "Start removing existing tags.\nRemoving existing tags. 1 files processed.\n"
                        "Finished removing existing tags.\n");
    EXPECT_EQ(contents(song), Mp3Fixtures::audio());
}

TEST_F(FileCommandsTest, ADamagedTagIsNamedAndLeftAloneAndTheOtherFileIsDone)
{
    const QByteArray damagedBytes = QByteArray("ID3\x04\x00\x00\x00\x00\x81\x00", 10) + Mp3Fixtures::audio();
    const QString damaged = writeFile("damaged.mp3", damagedBytes);

    const QString song = tagged("song.mp3");
    const CliResult untag = runCli({"untag", damaged, song});
    EXPECT_EQ(untag.exitCode, 1);
    EXPECT_TRUE(untag.err.contains("Could not remove the tags of " + QFile::encodeName(damaged)
                                   + ": its ID3v2 tag is damaged"));
    EXPECT_EQ(contents(song), Mp3Fixtures::audio());

    const CliResult tag = runCli({"tag", "--album", albumFile(), damaged, song});
    EXPECT_EQ(tag.exitCode, 1);
    EXPECT_TRUE(tag.err.contains("Could not tag " + QFile::encodeName(damaged) + ": its ID3v2 tag is damaged"));
    EXPECT_EQ(albumOf(song), "A");
    EXPECT_EQ(contents(damaged), damagedBytes);
}

TEST_F(FileCommandsTest, AWriteKilledPartWayLeavesTheFileIntact)
{
    // Removing the tag of a large file, and giving an untagged one a tag, each write a whole
    // new file; the kernel kills the child once it has written half of it.
    const QString album = albumFile();
    const QString song = tagged("large.mp3", 16 << 20);
    QByteArray before = contents(song);
    EXPECT_TRUE(runCli({"untag", song}, {}, fileSizeLimit(8 << 20, false)).crashed);
    EXPECT_EQ(contents(song), before);
    EXPECT_EQ(entries(), (QStringList{"album.json", "large.mp3"}));

    ASSERT_TRUE(Mp3Fixtures::writeMp3(song, 12 << 20));
    before = contents(song);
    EXPECT_TRUE(runCli({"tag", "--album", album, song}, {}, fileSizeLimit(6 << 20, false)).crashed);
    EXPECT_EQ(contents(song), before);
    EXPECT_EQ(entries(), (QStringList{"album.json", "large.mp3"}));
}

TEST_F(FileCommandsTest, AFailingWriteLeavesTheFileIntactAndSaysSo)
{
    const QString song = tagged("large.mp3", 4 << 20);
    const QByteArray before = contents(song);
    const CliResult result = runCli({"untag", song}, {}, fileSizeLimit(2 << 20, true));
    EXPECT_FALSE(result.crashed);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("Could not remove the tags of " + QFile::encodeName(song)));
    EXPECT_TRUE(result.err.contains("The file was left as it was."));
    EXPECT_EQ(contents(song), before);
    EXPECT_EQ(entries(), QStringList{"large.mp3"});
}
