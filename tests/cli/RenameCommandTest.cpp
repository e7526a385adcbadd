#include "CliTestFolder.h"
#include "files/SongMetadata.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"

namespace {

class RenameCommandTest : public CliTestFolder {
protected:
    void song(const QString &name, const QString &trackNo, const QString &title)
    {
        ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path(name), {{QVArtistAlbumTag, "Band"}, {QVAlbumTag, "Record"},
                                                             {QVTitleTag, title}, {QVTrackNoTag, trackNo}}));
    }
    // Runs the real tagwright-cli in the folder.
    CliResult run(const QStringList &arguments)
    {
        CliInvocation invocation;
        invocation.workingDirectory = dir.path();
        const CliResult result = runCliWith(arguments, invocation);
        EXPECT_FALSE(result.crashed);
        return result;
    }
};

} // namespace

TEST_F(RenameCommandTest, RenamesAndPrintsEachNewPathWithStatusLinesOnStandardError)
{
    song("a.mp3", "1", "One");
    song("b.mp3", "2", "A/B");
    const QString mask = "%a/%b/%n - %t";

    const CliResult preview = run({"preview", "--mask", mask, "b.mp3", "a.mp3"});
    EXPECT_EQ(preview.exitCode, 0);
    EXPECT_EQ(preview.outLines(), QStringList{"Band/Record/02 - A/B"});

    const CliResult rename = run({"rename", "--mask", mask, "a.mp3", "b.mp3"});
    EXPECT_EQ(rename.exitCode, 0);
    EXPECT_EQ(rename.outLines(), (QStringList{"Band/Record/01 - One.mp3", "Band/Record/02 - A:B.mp3"}));
    EXPECT_EQ(rename.errLines(),
              (QStringList{"New file renamed. 1 files processed.", "New file renamed. 2 files processed."}));
    EXPECT_TRUE(QFile::exists(path("Band/Record/02 - A:B.mp3")));
}

TEST_F(RenameCommandTest, BadInputNamesTheFileAndTouchesNothing)
{
    song("a.mp3", "1", "One");
    writeFile("notes.mp3", "just some words, no audio\n");

    for (const char *command : {"rename", "preview"}) {
        const CliResult result = run({command, "--mask=%t", "a.mp3", "notes.mp3", "gone.mp3"});
        EXPECT_NE(result.exitCode, 0) << command;
        EXPECT_TRUE(result.out.isEmpty()) << command;
        const QStringList err = result.errLines();
        ASSERT_EQ(err.size(), 2) << command;
        EXPECT_TRUE(err.at(0).contains("notes.mp3: not an MP3 file"));
        EXPECT_TRUE(err.at(1).contains("gone.mp3: no such file"));
    }
    EXPECT_EQ(entries(), (QStringList{"a.mp3", "notes.mp3"}));

    const CliResult noMask = run({"rename", "a.mp3"});
    EXPECT_EQ(noMask.exitCode, 2);
    ASSERT_EQ(noMask.errLines().size(), 1);
    EXPECT_TRUE(noMask.errLines().at(0).contains("--mask"));
}

TEST_F(RenameCommandTest, AFileThatKeepsItsNameIsReportedAndFailsTheCommand)
{
    song("a.mp3", "1", "One");
    song("b.mp3", "1", "One");

    const CliResult result = run({"rename", "--mask", "%n - %t", "a.mp3", "b.mp3"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.outLines(), (QStringList{"01 - One.mp3", "b.mp3"}));
    EXPECT_EQ(result.errLines(), (QStringList{"New file renamed. 1 files processed.",
                                              "Could not rename b.mp3: a file of the new name exists already (new "
                                              "name \"01 - One.mp3\"). The file was left as it was.",
                                              "New file renamed. 2 files processed."}));
    EXPECT_EQ(entries(), (QStringList{"01 - One.mp3", "b.mp3"}));
}
