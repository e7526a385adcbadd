// Work the session hands out runs on copies of its lists, so that a job is never disturbed by
// what the window changes while it runs. What is on show and what tagging writes are checked
// through the window's own tests.
#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "session/Session.h"
#include "support/Mp3Fixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SessionTest, WorkRunsOnTheListsOfTheMomentItWasHandedOutAndPassesOverFreeTracks)
{
    QTemporaryDir dir;
    for (const char *name : {"b.mp3", "a.mp3"})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(name)));
    Session session;
    session.addAlbum("Artist", "Album", "2001", "", "", "", "");
    for (const char *title : {"One", "Two", "Three"})
        session.addTrack(QString::fromLatin1(title), std::nullopt);
    // Track 2 has no file: the files keep the tracks beside them.
    session.setFiles({dir.filePath("b.mp3"), QString(), dir.filePath("a.mp3")});
    const Session::Work<FileOutcome> tagging = session.tagging(*session.albumToTag(0));
    session.removeRows(Session::List::files, {0});
    session.tracks()->first()->setTitle(QStringLiteral("Changed"));
    JobControl control;
    const FileOutcome outcome = tagging(control);
    EXPECT_EQ(outcome.filesChanged(), 2);
    EXPECT_FALSE(outcome.cancelled);

    const auto tags = [&](const char *name) {
        const std::optional<TagValues> tags = FileHandler().readTags(dir.filePath(name));
        return tags ? tags->title + u' ' + QString::number(tags->trackNumber) : QString();
    };
    EXPECT_EQ(tags("b.mp3"), "One 1");
    EXPECT_EQ(tags("a.mp3"), "Three 3");
}
