#include "files/SongMetadata.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

// Runs the real tagwright-cli in the given folder.
CliRun runIn(const QString &folder, const QStringList &args)
{
    CliInvocation invocation;
    invocation.workingDirectory = folder;
    const CliResult result = runCliWith(args, invocation);
    EXPECT_FALSE(result.crashed);
    return {result.exitCode, result.outLines(), result.errLines()};
}

QVariantMap song(const QString &trackNo, const QString &title)
{
    return {{QVArtistAlbumTag, QStringLiteral("Band")}, {QVAlbumTag, QStringLiteral("Record")},
            {QVTitleTag, title},                        {QVTrackNoTag, trackNo}};
}

class RenameCommandTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
};

} // namespace

TEST_F(RenameCommandTest, RenamesAndPrintsEachNewPathWithStatusLinesOnStandardError)
{
    ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path(QStringLiteral("a.mp3")), song(QStringLiteral("1"), QStringLiteral("One"))));
    ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path(QStringLiteral("b.mp3")), song(QStringLiteral("2"), QStringLiteral("A/B"))));
    const QString mask = QStringLiteral("%a/%b/%n - %t");

    const CliRun preview = runIn(dir.path(), {QStringLiteral("preview"), QStringLiteral("--mask"), mask,
                                               QStringLiteral("b.mp3"), QStringLiteral("a.mp3")});
    EXPECT_EQ(preview.exitCode, 0);
    EXPECT_EQ(preview.out, QStringList{QStringLiteral("Band/Record/02 - A/B")});

    const CliRun rename = runIn(dir.path(), {QStringLiteral("rename"), QStringLiteral("--mask"), mask,
                                              QStringLiteral("a.mp3"), QStringLiteral("b.mp3")});
    EXPECT_EQ(rename.exitCode, 0);
    EXPECT_EQ(rename.out, QStringList({QStringLiteral("Band/Record/01 - One.mp3"), QStringLiteral("Band/Record/02 - A:B.mp3")}));
    EXPECT_EQ(rename.err, QStringList({QStringLiteral("New file renamed. 1 files processed."),
                                       QStringLiteral("New file renamed. 2 files processed.")}));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Band/Record/02 - A:B.mp3"))));
}

TEST_F(RenameCommandTest, BadInputNamesTheFileAndTouchesNothing)
{
    ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path(QStringLiteral("a.mp3")), song(QStringLiteral("1"), QStringLiteral("One"))));
    QFile text(path(QStringLiteral("notes.mp3")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some words, no audio\n");
    text.close();

    for (const char *command : {"rename", "preview"}) {
        const CliRun run = runIn(dir.path(), {QString::fromUtf8(command), QStringLiteral("--mask=%t"),
                                               QStringLiteral("a.mp3"), QStringLiteral("notes.mp3"),
                                               QStringLiteral("gone.mp3")});
        EXPECT_NE(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.isEmpty()) << command;
        ASSERT_EQ(run.err.size(), 2) << command;
        EXPECT_TRUE(run.err.at(0).contains(QStringLiteral("notes.mp3: not an MP3 file")));
        EXPECT_TRUE(run.err.at(1).contains(QStringLiteral("gone.mp3: no such file")));
    }
    EXPECT_EQ(files(), QStringList({QStringLiteral("a.mp3"), QStringLiteral("notes.mp3")}));

    const CliRun noMask = runIn(dir.path(), {QStringLiteral("rename"), QStringLiteral("a.mp3")});
    EXPECT_EQ(noMask.exitCode, 2);
    EXPECT_EQ(noMask.err.size(), 1);
    EXPECT_TRUE(noMask.err.at(0).contains(QStringLiteral("--mask")));
}

TEST_F(RenameCommandTest, AFileThatKeepsItsNameIsReportedAndFailsTheCommand)
{
    ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path(QStringLiteral("a.mp3")), song(QStringLiteral("1"), QStringLiteral("One"))));
    ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path(QStringLiteral("b.mp3")), song(QStringLiteral("1"), QStringLiteral("One"))));

    const CliRun run = runIn(dir.path(), {QStringLiteral("rename"), QStringLiteral("--mask"), QStringLiteral("%n - %t"),
                                           QStringLiteral("a.mp3"), QStringLiteral("b.mp3")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringList({QStringLiteral("01 - One.mp3"), QStringLiteral("b.mp3")}));
    EXPECT_EQ(run.err, QStringList({QStringLiteral("New file renamed. 1 files processed."),
                                    QStringLiteral("Could not rename b.mp3: a file of the new name exists already (new "
                                                   "name \"01 - One.mp3\"). The file was left as it was."),
                                    QStringLiteral("New file renamed. 2 files processed.")}));
    EXPECT_EQ(files(), QStringList({QStringLiteral("01 - One.mp3"), QStringLiteral("b.mp3")}));
}
