// The session's rules about what is on show and what its operations work on, without a window.
#include "common/JobControl.h"
#include "session/Session.h"
#include "support/Mp3Fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<ResultEntry> album(const QString &name, const QStringList &tracks = {})
{
    auto entry = std::make_shared<ResultEntry>();
    entry->setAlbumName(name);
    if (!tracks.isEmpty()) {
        entry->setTrackList(std::make_shared<TrackList>());
        for (const QString &title : tracks) {
            entry->trackList()->append(std::make_shared<Track>());
            entry->trackList()->last()->setTitle(title);
        }
    }
    return entry;
}

} // namespace

TEST(SessionTest, TheAlbumOnShowAndTheAlbumTaggedFollowTheChoice)
{
    Session session;
    EXPECT_EQ(session.albumToTag(0), nullptr);
    const auto first = album("First", {"a", "b"}), second = album("Second", {"c"});
    session.setAlbums(std::make_shared<ResultList>(ResultList{first, second}));
    EXPECT_TRUE(session.chooseAlbum(1));
    EXPECT_EQ(session.tracks(), second->trackList());
    EXPECT_EQ(session.albumToTag(7), first);   // no valid choice: the first album
    // Removing the album on show shows the first one, which tagging would write.
    session.removeRows(Session::List::albums, {1});
    EXPECT_TRUE(session.showFirstAlbumIfNoneIsChosen());
    EXPECT_EQ(session.tracks(), first->trackList());
    // A track typed for an album without tracks starts that album's own list.
    const auto bare = album("Bare");
    session.setAlbums(std::make_shared<ResultList>(ResultList{bare, first}));
    session.showAlbum(bare);
    session.addTrack(QStringLiteral("typed"), std::nullopt);
    EXPECT_EQ(bare->trackList(), session.tracks());
    session.moveRows(Session::List::tracks, {0}, 1);
    EXPECT_EQ(session.rowCount(Session::List::tracks), 1);
}

TEST(SessionTest, FilesAreListedSortedAndWorkRunsOnCopies)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    for (const char *name : {"b.mp3", "folder/a.mp3", "c.ogg"})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(name)));
    Session session;
    session.addFiles({dir.filePath("b.mp3"), dir.filePath("folder"), dir.filePath("c.ogg")});
    EXPECT_EQ(*session.files(), QStringList({dir.filePath("b.mp3"), dir.filePath("folder/a.mp3")}));
    EXPECT_TRUE(session.awaitsAlbumFromTags());

    // Work handed out keeps the lists of that moment, whatever happens to the session after.
    session.addAlbum("Artist", "Album", "2001", "", "", "", "");
    session.addTrack(QStringLiteral("One"), std::nullopt);
    const Session::Work<FileOutcome> tagging = session.tagging(*session.albumToTag(0));
    session.removeRows(Session::List::files, {0});
    session.tracks()->first()->setTitle(QStringLiteral("Changed"));
    JobControl control;
    const FileOutcome outcome = tagging(control);
    EXPECT_EQ(outcome.filesChanged(), 2);
    EXPECT_FALSE(outcome.cancelled);

    // Their tags give no album now that one is listed; in an empty session they do.
    Session empty;
    empty.setFiles({dir.filePath("b.mp3"), dir.filePath("folder/a.mp3")});
    const FileTagsAlbum tags = empty.readingFileTags()(control);
    empty.takeFileTagsAlbum(tags);
    EXPECT_EQ(empty.albums()->first()->albumName(), "Album");
    EXPECT_EQ(empty.tracks()->first()->title(), "One");
    EXPECT_EQ(empty.tracks()->at(1)->title(), "a.mp3");   // the second file took its own name
    session.takeFileTagsAlbum(tags);
    EXPECT_EQ(session.rowCount(Session::List::albums), 1);
}
