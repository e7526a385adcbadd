// The rename and preview commands, run in the test's folder with relative paths.
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
    CliResult run(const QStringList &arguments)
    {
        CliInvocation invocation;
        invocation.workingDirectory = dir.path();
        return runCliWith(arguments, invocation);
    }
};

} // namespace

TEST_F(RenameCommandTest, PrintsEachNewPathAndFailsWhenAFileKeepsItsName)
{
    song("a.mp3", "1", "One");
    song("b.mp3", "2", "A/B");
    song("c.mp3", "1", "One");
    const CliResult preview = run({"preview", "--mask", "%a/%n - %t", "b.mp3", "a.mp3"});
    EXPECT_EQ(preview.exitCode, 0);
    EXPECT_EQ(preview.outLines(), QStringList{"Band/02 - A/B"});

    const CliResult rename = run({"rename", "--mask", "%a/%n - %t", "a.mp3", "b.mp3", "c.mp3"});
    EXPECT_EQ(rename.exitCode, 1);
    EXPECT_EQ(rename.outLines(), (QStringList{"Band/01 - One.mp3", "Band/02 - A:B.mp3", "c.mp3"}));
    EXPECT_EQ(rename.errLines(), (QStringList{"New file renamed. 1 files processed.", "New file renamed. 2 files processed.",
                                              "Could not rename c.mp3: a file of the new name exists already (new name "
                                              "\"Band/01 - One.mp3\"). The file was left as it was.",
                                              "New file renamed. 3 files processed."}));
    EXPECT_EQ(entries(), (QStringList{"Band", "c.mp3"}));
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
        EXPECT_TRUE(err.size() == 2 && err[0].contains("notes.mp3: not an MP3 file") && err[1].contains("gone.mp3: no such file"))
            << result.err.toStdString();
    }
    EXPECT_EQ(run({"rename", "a.mp3"}).exitCode, 2);
    EXPECT_EQ(entries(), (QStringList{"a.mp3", "notes.mp3"}));
}
