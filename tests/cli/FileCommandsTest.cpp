// The commands that read, tag, untag and rename MP3 files, run on the real program in a
// temporary folder with relative paths: their options, output and exit status, and what
// bad input, a damaged tag or an interrupted or failing write leaves behind.
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FileCommandsTest : public ::testing::Test {
protected:
    CliResult run(const QStringList &arguments, const QByteArray &input = {}, const std::function<void()> &inChild = {})
    {
        return runCliWith(arguments, {.input = input, .inChild = inChild, .workingDirectory = dir.path()});
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        EXPECT_TRUE(writeBytes(dir.filePath(name), bytes)) << name.toStdString();
        return name;
    }
    QByteArray contents(const QString &name) const { return readBytes(dir.filePath(name)); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
    QString tagged(const QString &name, const QVariantMap &tags, qint64 audioBytes = 8 * Mp3Fixtures::frameSize, quint32 seed = 1)
    {
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(dir.filePath(name), tags, audioBytes, seed));
        return name;
    }
    QJsonObject tagsOf(const QString &name) { return QJsonDocument::fromJson(run({"read", name}).out).array().first().toObject(); }

    QTemporaryDir dir;
    const QString album = writeFile("album.json", R"({"albumName": "A"})");
};

} // namespace

TEST_F(FileCommandsTest, ReadPrintsOneObjectPerFileAndNamesBadOnes)
{
    tagged("song.mp3", {{"Title", "A Title"}, {"TrackNo", "4"}, {"Cover", Mp3Fixtures::jpegPicture(32, 24)}});
    ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath("plain.mp3")));
    writeFile("notes.mp3", "just some text, no audio");
    const CliResult result = run({"read", "song.mp3", "plain.mp3", "notes.mp3", "missing.mp3"});
    EXPECT_EQ(result.exitCode, 1);
    const QJsonArray array = QJsonDocument::fromJson(result.out).array();
    ASSERT_EQ(array.size(), 4);
    EXPECT_EQ((QJsonArray{array[0]["Title"], array[0]["TrackNo"], array[0]["Cover"]}),
              (QJsonArray{"A Title", "4", QJsonObject{{"width", 32}, {"height", 24}}}));
    EXPECT_EQ((QJsonArray{array[1], array[2], array[3]}), (QJsonArray{QJsonObject{}, QJsonValue::Null, QJsonValue::Null}));
    EXPECT_TRUE(result.errLines().size() == 2 && result.err.contains("notes.mp3: not an audio file Tagwright can tag")
                && result.err.contains("missing.mp3: no such file")) << result.err.toStdString();
}

TEST_F(FileCommandsTest, TagTakesTheChosenAlbumAndCoverFromAFileOrStandardInput)
{
    const QJsonObject chosen{{"artistName", "Band"}, {"albumName", "Chosen"},
                             {"trackList", QJsonArray{QJsonObject{{"title", "First"}, {"artist", "Guest"}}}}};
    writeFile("albums.json", QJsonDocument(QJsonArray{QJsonObject{{"albumName", "Other"}}, chosen}).toJson());
    writeFile("cover.jpg", Mp3Fixtures::jpegPicture(40, 30));
    ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath("1.mp3")) && Mp3Fixtures::writeMp3(dir.filePath("2.mp3")));

    const CliResult result = run({"tag", "--album", "albums.json", "--index", "1", "--cover", "cover.jpg", "1.mp3", "2.mp3"});
    EXPECT_TRUE(result.exitCode == 0 && result.err == "Tagging new files. 1 files processed.\nTagging new files. 2 files processed.\n")
        << result.err.toStdString();
    for (const auto &[name, title] : {std::pair{"1.mp3", "First"}, {"2.mp3", "2.mp3"}}) {
        const QJsonObject tags = tagsOf(name);
        EXPECT_EQ((QJsonArray{tags["Album"], tags["Title"], tags["ArtistTrack"], tags["Cover"]}),
                  (QJsonArray{"Chosen", title, "Guest", QJsonObject{{"width", 40}, {"height", 30}}}));
    }
    // Texts past 1000 characters are cut there, and the cut is said.
    const QString piped = QString(1200, u'P');
    const CliResult cut = run({"tag", "--album", "-", "1.mp3"}, QJsonDocument(QJsonObject{{"albumName", piped}}).toJson());
    EXPECT_TRUE(cut.exitCode == 0 && cut.err.contains("tagwright-cli tag: -: texts longer than 1000 characters were cut there"))
        << cut.err.toStdString();
    EXPECT_EQ(tagsOf("1.mp3")["Album"], piped.left(1000));
}

TEST_F(FileCommandsTest, BadInputNamesTheProblemAndTouchesNothing)
{
    const QByteArray song = contents(tagged("song.mp3", {{"Title", "A Title"}}));
    writeFile("notes.mp3", "just some text, no audio");
    writeFile("malformed.json", "{\"albumName\": ");
    const QList<std::pair<QStringList, QString>> cases = {
        {{"read"}, "no audio files given"},
        {{"tag", "--album", "malformed.json", "song.mp3"}, "malformed.json: malformed JSON"},
        {{"tag", "--album", "none.json", "song.mp3"}, "none.json: no such file"},
        {{"tag", "--album", album, "--index", "1", "song.mp3"}, "none at index 1"},
        {{"tag", "--album", album, "--cover", "malformed.json", "song.mp3"}, "cannot be read as an image"},
        {{"tag", "--album", album, "--cover", writeFile("cut.jpg", Mp3Fixtures::jpegPicture(40, 30).chopped(20)), "song.mp3"},
         "cut.jpg: the picture is damaged (it ends early); nothing was written"},
        {{"tag", "--album", writeFile("file.json", R"({"coverUrl": "file:///etc/passwd"})"), "song.mp3"},
         "file.json: the album file's coverUrl is not an http or https address: file:///etc/passwd"},
        {{"tag", "--album", writeFile("text.json", R"({"coverUrl": "not a url"})"), "song.mp3"},
         "text.json: the album file's coverUrl is not an http or https address: not a url"},
        {{"lineup", "--album", writeFile("many.json", R"({"trackList": [)" + QByteArray("{},").repeated(1000) + "{}]}"), "song.mp3"},
         "many.json: \"trackList\" holds 1001 tracks; an album has at most 1000"},
        {{"tag", "song.mp3"}, "--album FILE"},
        {{"tag", "--album", album, "song.mp3", "notes.mp3"}, "notes.mp3: not an audio file Tagwright can tag"},
        {{"untag", "song.mp3", "gone.mp3"}, "gone.mp3: no such file"},
        {{"rename", "--mask=%t", "song.mp3", "notes.mp3"}, "notes.mp3: not an audio file Tagwright can tag"},
        {{"preview", "--mask=%t", "song.mp3", "gone.mp3"}, "gone.mp3: no such file"},
        {{"rename", "song.mp3"}, "--mask"},
    };
    for (const auto &[arguments, expected] : cases) {
        const CliResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty() && result.errLines().size() == 1 && result.err.contains(expected.toUtf8()))
            << result.err.toStdString();
    }
    EXPECT_EQ(contents("song.mp3"), song);
    EXPECT_EQ(entries(), (QStringList{"album.json", "cut.jpg", "file.json", "malformed.json", "many.json", "notes.mp3", "song.mp3", "text.json"}));
}

TEST_F(FileCommandsTest, RenamePrintsEachNewPathAndNeverOverwritesAFile)
{
    const QByteArray one = contents(tagged("a.mp3", {{"ArtistAlbum", "Band"}, {"Title", "One"}, {"TrackNo", "1"}}));
    tagged("b.mp3", {{"ArtistAlbum", "Band"}, {"Title", "A/B"}, {"TrackNo", "2"}});
    const QByteArray same = contents(tagged("c.mp3", {{"ArtistAlbum", "Band"}, {"Title", "One"}, {"TrackNo", "1"}},
                                                 2 * Mp3Fixtures::frameSize, 2));
    EXPECT_EQ(run({"preview", "--mask", "%a/%n - %t", "b.mp3", "a.mp3"}).outLines(), QStringList{"Band/02 - A/B"});

    // The third file's name is taken by the first: it keeps its own, and the command fails.
    const CliResult rename = run({"rename", "--mask", "%a/%n - %t", "a.mp3", "b.mp3", "c.mp3"});
    EXPECT_EQ(rename.exitCode, 1);
    EXPECT_EQ(rename.outLines(), (QStringList{"Band/01 - One.mp3", "Band/02 - A:B.mp3", "c.mp3"}));
    EXPECT_TRUE(rename.err.contains("Could not rename c.mp3: a file of the new name exists already")
                && rename.err.contains("The file was left as it was.")) << rename.err.toStdString();
    EXPECT_EQ(contents("Band/01 - One.mp3"), one);
    EXPECT_EQ(contents("c.mp3"), same);
}

TEST_F(FileCommandsTest, AnInterruptedOrFailingWriteSaysWhatBecameOfTheFile)
{
    // Past the size limit the kernel kills the program, or, with the signal ignored, fails
    // the write. Removing a tag writes a whole new file, which is never half in place.
    const QByteArray before = contents(tagged("large.mp3", {{"Title", "A Title"}}, 4 << 20));
    EXPECT_TRUE(run({"untag", "large.mp3"}, {}, fileSizeLimit(2 << 20, false)).crashed);
    EXPECT_EQ(contents("large.mp3"), before);
    const CliResult untag = run({"untag", "large.mp3"}, {}, fileSizeLimit(2 << 20, true));
    EXPECT_TRUE(untag.exitCode == 1 && untag.err.contains("Could not remove the tags of large.mp3: ")
                && untag.err.contains("The file was left as it was.")) << untag.err.toStdString();
    EXPECT_EQ(contents("large.mp3"), before);
    EXPECT_EQ(entries(), (QStringList{"album.json", "large.mp3"}));

    // A tag that fits into the old one's room is written in place: the ID3v1 tag at the
    // end fails after the new ID3v2 tag is written.
    const QJsonArray frames{MutagenTool::textFrame("TIT2", {"Old"})};
    ASSERT_TRUE(MutagenTool::write(dir.filePath("large.mp3"), {{"v2", 4}, {"v1", true}, {"frames", frames}}));
    const CliResult tag = run({"tag", "--album", album, "large.mp3"}, {}, fileSizeLimit(2 << 20, true));
    EXPECT_TRUE(tag.exitCode == 1 && tag.err.contains("Could not tag large.mp3: ") && !tag.err.contains("left as it was")
                && tag.err.contains("Its audio is untouched, but its tags may be incomplete.")) << tag.err.toStdString();
    EXPECT_TRUE(contents("large.mp3").contains(Mp3Fixtures::audio(4 << 20)));
    // Without the limit the tags go, while a file with a damaged tag is named and left as it was.
    const QByteArray damaged = QByteArray("ID3\x04\x00\x00\x00\x00\x81\x00", 10) + Mp3Fixtures::audio();
    writeFile("damaged.mp3", damaged);
    const CliResult untagged = run({"untag", "damaged.mp3", "large.mp3"});
    EXPECT_TRUE(untagged.exitCode == 1 && untagged.err.contains("damaged.mp3: its ID3v2 tag is damaged")) << untagged.err.toStdString();
    EXPECT_EQ(contents("damaged.mp3"), damaged);
    EXPECT_EQ(contents("large.mp3"), Mp3Fixtures::audio(4 << 20));
}
