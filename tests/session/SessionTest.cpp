// Work the session hands out runs on copies of its lists, so that a job is never disturbed by
// what the window changes while it runs. What is on show and what tagging writes are checked
// through the window's own tests.
#include "common/JobControl.h"
#include "session/Session.h"
#include "support/Mp3Fixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SessionTest, WorkRunsOnTheListsOfTheMomentItWasHandedOut)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    for (const char *name : {"b.mp3", "folder/a.mp3"})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(name)));
    Session session;
    session.addFiles({dir.filePath("b.mp3"), dir.filePath("folder")});
    ASSERT_EQ(session.files()->size(), 2);

    session.addAlbum("Artist", "Album", "2001", "", "", "", "");
    session.addTrack(QStringLiteral("One"), std::nullopt);
    const Session::Work<FileOutcome> tagging = session.tagging(*session.albumToTag(0));
    session.removeRows(Session::List::files, {0});
    session.tracks()->first()->setTitle(QStringLiteral("Changed"));
    JobControl control;
    const FileOutcome outcome = tagging(control);
    EXPECT_EQ(outcome.filesChanged(), 2);
    EXPECT_FALSE(outcome.cancelled);

    // The files read back with the values of the moment tagging was handed out.
    Session reader;
    reader.setFiles({dir.filePath("b.mp3"), dir.filePath("folder/a.mp3")});
    reader.takeFileTagsAlbum(reader.readingFileTags()(control));
    EXPECT_EQ(reader.albums()->first()->albumName(), "Album");
    EXPECT_EQ(reader.tracks()->first()->title(), "One");
}
