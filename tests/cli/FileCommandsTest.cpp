// The read and untag commands, and what a damaged tag or an interrupted or failing write
// leaves behind for the two commands that write files (untag and tag).
#include "CliTestFolder.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class FileCommandsTest : public CliTestFolder {
protected:
    QString tagged(const char *name, qint64 audioBytes = 8 * Mp3Fixtures::frameSize)
    {
        const QString file = path(QString::fromLatin1(name));
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(file, {{"Title", "A Title"}, {"TrackNo", "4"},
                                                       {"Cover", Mp3Fixtures::jpegPicture(32, 24)}},
                                                audioBytes));
        return file;
    }
    QString albumFile() { return writeFile("album.json", R"({"albumName": "A"})"); }
};

} // namespace

TEST_F(FileCommandsTest, ReadPrintsOneObjectPerFileAndNamesBadOnes)
{
    const QString song = tagged("song.mp3"), plain = path("plain.mp3"), missing = path("missing.mp3");
    ASSERT_TRUE(Mp3Fixtures::writeMp3(plain));
    const QString text = writeFile("notes.mp3", "just some text, no audio");

    const CliResult result = runCli({"read", song, plain, text, missing});
    EXPECT_EQ(result.exitCode, 1);
    const QJsonArray array = QJsonDocument::fromJson(result.out).array();
    ASSERT_EQ(array.size(), 4);
    EXPECT_EQ(array[0]["Title"], "A Title");
    EXPECT_EQ(array[0]["TrackNo"], "4");
    EXPECT_EQ(array[0]["Cover"], (QJsonObject{{"width", 32}, {"height", 24}}));
    EXPECT_EQ((QJsonArray{array[1], array[2], array[3]}), (QJsonArray{QJsonObject{}, QJsonValue::Null, QJsonValue::Null}));
    const QStringList lines = result.errLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(text + ": not an MP3 file") && lines[1].contains(missing + ": no such file"));
    EXPECT_EQ(runCli({"read"}).exitCode, 2);
}

TEST_F(FileCommandsTest, UntagRemovesTagsButNamesADamagedOneAndTouchesNothingOnBadInput)
{
    const QString song = tagged("song.mp3");
    const QByteArray before = contents(song);
    const QString text = writeFile("notes.mp3", "just some text, no audio");
    const CliResult refused = runCli({"untag", song, text, path("missing.mp3")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.errLines().size(), 2);
    EXPECT_EQ(contents(song), before);

    const QByteArray damagedBytes = QByteArray("ID3\x04\x00\x00\x00\x00\x81\x00", 10) + Mp3Fixtures::audio();
    const QString damaged = writeFile("damaged.mp3", damagedBytes);
    const CliResult untag = runCli({"untag", damaged, song});
    EXPECT_EQ(untag.exitCode, 1);
    const QStringList lines = untag.errLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[1].startsWith("Could not remove the tags of " + damaged + ": its ID3v2 tag is damaged")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("The file was left as it was."));
    EXPECT_EQ(lines.last(), "Finished removing existing tags.");
    EXPECT_EQ(contents(song), Mp3Fixtures::audio());
    EXPECT_EQ(contents(damaged), damagedBytes);
    EXPECT_EQ(runCli({"tag", "--album", albumFile(), damaged}).exitCode, 1);
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

TEST_F(FileCommandsTest, AFailingWriteSaysWhatBecameOfTheFile)
{
    // Past the size limit writes fail. Removing a tag rebuilds the file, and fails whole;
    // a tag that fits into the old one's room is written in place, and the ID3v1 tag at
    // the end fails after the new ID3v2 tag is written.
    const QString song = tagged("large.mp3", 4 << 20);
    const QByteArray before = contents(song);
    const CliResult untag = runCli({"untag", song}, {}, fileSizeLimit(2 << 20, true));
    EXPECT_EQ(untag.exitCode, 1);
    EXPECT_TRUE(untag.err.contains("Could not remove the tags of " + QFile::encodeName(song)));
    EXPECT_TRUE(untag.err.contains("The file was left as it was."));
    EXPECT_EQ(contents(song), before);

    ASSERT_TRUE(MutagenTool::write(song, {{"v2", 4}, {"v1", true}, {"frames", QJsonArray{MutagenTool::textFrame("TIT2", {"Old"})}}}));
    const CliResult tag = runCli({"tag", "--album", albumFile(), song}, {}, fileSizeLimit(2 << 20, true));
    EXPECT_EQ(tag.exitCode, 1);
    EXPECT_TRUE(tag.err.contains("Could not tag " + QFile::encodeName(song)));
    EXPECT_TRUE(tag.err.contains("Its audio is untouched, but its tags may be incomplete."));
    EXPECT_FALSE(tag.err.contains("left as it was"));
    EXPECT_TRUE(contents(song).contains(Mp3Fixtures::audio(4 << 20)));
    EXPECT_EQ(entries(), (QStringList{"album.json", "large.mp3"}));
}
