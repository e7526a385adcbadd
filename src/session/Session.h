#pragma once

#include "files/FileOutcome.h"
#include "lineup/Lineup.h"
#include "album/ResultEntry.h"
#include "search/SearchOutcome.h"
#include "search/ServiceConfig.h"
#include "search/musicbrainz/LookupOutcome.h"
#include "session/FileTagsAlbum.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class JobControl;

// What the window and the command line work on: the albums found or typed in, the album
// whose own tracks are on show, the tracks on show and the files listed, with the edits made
// to them. Lives on one thread; the long operations (search, tagging, renaming, tag removal,
// reading tags) run elsewhere on copies of its lists and hand their results back to it.
class Session {
public:
    enum class List { albums, tracks, files };
    // The files under their names after renaming, and what renaming did.
    struct Renamed {
        QStringList files;
        FileOutcome outcome;
    };
    template <typename Result>
    using Work = std::function<Result(JobControl &control)>;

    // The long operations, as work on copies of what they need, so that they may run on any
    // thread: the window runs them as jobs, the command line at once. Each result is taken
    // back by the session's owner (setAlbums, setFiles, takeFileTagsAlbum, takeLineup).
    // The storefront code "musicbrainz" (MusicBrainzService::code()) searches MusicBrainz.
    static Work<SearchOutcome> search(ServiceConfig config, QString keywords, QString storefront);
    // The MusicBrainz release with this identifier, with its tracks and cover.
    static Work<LookupOutcome> lookup(ServiceConfig config, QString releaseId);
    // Writes the album into the files listed, with the tracks on show.
    Work<FileOutcome> tagging(const ResultEntry &album) const;
    Work<Renamed> renaming(QString mask) const;
    static Work<FileOutcome> tagRemoval(QStringList files);
    Work<FileTagsAlbum> readingFileTags() const;
    // Pairs the files listed with the tracks on show of the album (its name and discs tell
    // how far the files' tags count); the result is taken back by takeLineup.
    Work<Lineup> lineUp(const ResultEntry &album) const;
    // The first listed file's new name by the mask; "--" without files or mask.
    QString preview(const QString &mask) const;

    // The lists themselves (not copies); null or an empty optional when absent.
    const ResultListPtr &albums() const { return m_albums; }
    const TrackListPtr &tracks() const { return m_tracks; }
    const std::optional<QStringList> &files() const { return m_files; }
    // Null while the tracks on show were typed in or read from files, or nothing is shown.
    const std::shared_ptr<ResultEntry> &shownAlbum() const { return m_shownAlbum; }

    int rowCount(List list) const;
    // A copy of the tracks on show, tracks included, for work on another thread; null without.
    TrackListPtr tracksCopy() const;

    // Forgets the albums and the tracks on show.
    void clearAlbums();
    void clearFiles();
    // Takes the albums of a search in place of those listed.
    void setAlbums(ResultListPtr albums);
    // The renamed paths, row for row.
    void setFiles(QStringList files) { m_files = std::move(files); }

    // Shows this album's own tracks (none for no album).
    void showAlbum(const std::shared_ptr<ResultEntry> &album);
    // Lists just this album, its tracks on show, and these files in this order: where the
    // command line's file commands start.
    void listOnly(const std::shared_ptr<ResultEntry> &album, QStringList files);
    // With no album chosen, tagging writes the first one, so an album on show must be the
    // first; tracks typed in or read from files stay. Returns whether the tracks changed.
    bool showFirstAlbumIfNoneIsChosen();
    // The album chosen in the album table; whether its tracks are now on show.
    bool chooseAlbum(int row);
    // The album tagging writes: the chosen row, or the first album; null without albums.
    std::shared_ptr<ResultEntry> albumToTag(int chosenRow) const;
    // The status line that says why pairing the files with this album's tracks to "tag" or
    // "line up" them cannot start; nothing when it can.
    std::optional<QString> whyNotPairFiles(const QString &verb, const ResultEntry *album) const;

    // Whether the album is a catalogue's summary whose tracks and cover come with a look-up.
    static bool needsLookup(const ResultEntry &album) { return album.id() && !album.trackList(); }
    // Fills the listed album in with what its look-up found; whether its tracks are on show.
    bool takeLookedUp(const std::shared_ptr<ResultEntry> &album, const ResultEntry &found);

    // Moves rows of the track or file list to the insertion point dropRow.
    void moveRows(List list, const QList<int> &rows, int dropRow);
    void removeRows(List list, const QList<int> &rows);

    // Appends an album typed in by hand; integer fields take the integer value of the text.
    void addAlbum(const std::optional<QString> &artist, const std::optional<QString> &album,
                  const std::optional<QString> &year, const std::optional<QString> &genre,
                  const std::optional<QString> &label, const std::optional<QString> &tracks,
                  const std::optional<QString> &discs);
    // Appends a track to the tracks on show; the first one typed for an album on show starts
    // that album's own list.
    void addTrack(const std::optional<QString> &title, const std::optional<QString> &artist);
    // Lists the audio files among these paths, told by content (a folder gives those of its
    // files named like audio files); the list is kept sorted by path. Returns the paths left
    // out as no audio file to tag.
    QStringList addFiles(const QStringList &paths);
    // Whether nothing is listed yet that files' tags could fill in.
    bool awaitsAlbumFromTags() const;
    // Lists the album and tracks the files' tags gave, if still nothing is listed.
    void takeFileTagsAlbum(const FileTagsAlbum &tags);
    // Lists the files in the line-up's order, if the files listed are still the ones it
    // lined up; returns whether it did.
    bool takeLineup(const Lineup &lineup);

private:
    ResultListPtr m_albums;
    TrackListPtr m_tracks;
    std::optional<QStringList> m_files;
    std::shared_ptr<ResultEntry> m_shownAlbum;
};
