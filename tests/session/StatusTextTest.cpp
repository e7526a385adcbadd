// The status lines that close the file commands and tell what tagging leaves out, where the
// window's tests do not reach them.
#include "session/StatusText.h"
#include "session/TrackCountNote.h"

#include <gtest/gtest.h>

TEST(StatusTextTest, FileCommandsEndWithTheirOwnLineThenTheFilesTheyCouldNotChange)
{
    FileOutcome cancelled, failed;
    cancelled.cancelled = true;
    cancelled.filesHandled = 3;
    failed.filesHandled = 7;
    failed.failures = {{"a.mp3", "gone"}, {"b.mp3", "read-only"}};
    // What tagging left out is said in one line after its own, where it stays in sight, but
    // not after a cancelled run; how many files failed is said last.
    const QStringList note{"1 of 8 tracks has no file and is not written."};
    const QStringList notes{note.first(), "1 file has no track and is titled by its file name."};
    const struct {
        const char *command;
        FileOutcome outcome;
        QStringList notes;
        QStringList lines;
    } cases[] = {
        {"Removing tags", FileOutcome(), {}, {}},
        {"Removing tags", cancelled, {}, {"Removing tags cancelled: 3 of 7 files changed."}},
        {"Tagging", failed, {}, {"Tagging files finished...", "2 of 7 files could not be changed; see the list."}},
        {"Removing tags", failed, {}, {"2 of 7 files could not be changed; see the list."}},
        {"Tagging", FileOutcome(), note, {"Tagging files finished...", note.first()}},
        {"Tagging", failed, note, {"Tagging files finished...", note.first(), "2 of 7 files could not be changed; see the list."}},
        {"Tagging", cancelled, note, {"Tagging cancelled: 3 of 7 files changed."}},
        {"Tagging", FileOutcome(), notes, {"Tagging files finished...", notes.join(' ')}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StatusText::fileCommandEnded(QString::fromLatin1(c.command), c.outcome, 7, c.notes), c.lines) << c.command;
}

TEST(StatusTextTest, TaggingSaysWhichTracksHaveNoFileAndWhichFilesNoTrack)
{
    const struct {
        int files, tracks, freeTracks;
        QStringList notes;
    } cases[] = {
        {3, 3, 0, {}},
        {3, 0, 0, {"3 files, no tracks: every file is titled by its file name."}},
        {18, 19, 1, {"1 of 19 tracks has no file and is not written."}},
        {2, 5, 3, {"3 of 5 tracks have no file and are not written."}},
        {5, 3, 0, {"2 files have no track and are titled by their file names."}},
        {4, 4, 1, {"1 of 4 tracks has no file and is not written.", "1 file has no track and is titled by its file name."}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(trackCountNotes(c.files, c.tracks, c.freeTracks), c.notes) << c.files << "/" << c.tracks;
}

TEST(StatusTextTest, ALookUpSaysWhetherItFoundACover)
{
    ResultEntry album;
    album.setAlbumName("Rumours");
    EXPECT_EQ(StatusText::lookupEnded(album, std::nullopt), "Tracks of Rumours found; it has no cover.");
    album.setCover(QImage(1, 1, QImage::Format_RGB32));
    EXPECT_EQ(StatusText::lookupEnded(album, std::nullopt), "Tracks and cover of Rumours found.");
}

TEST(StatusTextTest, FilesLeftOutAtListingAreNamedUpToFive)
{
    EXPECT_EQ(StatusText::filesLeftOut({"/music/x.mp3"}), "1 file is not an audio file Tagwright can tag and was left out: x.mp3.");
    QStringList seven;
    for (int i = 1; i <= 7; ++i)
        seven.append(QStringLiteral("/music/%1.MP3").arg(i));
    EXPECT_EQ(StatusText::filesLeftOut(seven),
              "7 files are not audio files Tagwright can tag and were left out: 1.MP3, 2.MP3, 3.MP3, 4.MP3, 5.MP3 and 2 more.");
}
