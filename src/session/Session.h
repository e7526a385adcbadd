#pragma once

#include "files/FileOutcome.h"
#include "identify/Identification.h"
#include "journal/Journal.h"
#include "journal/JournalUndo.h"
#include "lineup/Lineup.h"
#include "album/ResultEntry.h"
#include "search/SearchOutcome.h"
#include "search/ServiceConfig.h"
#include "search/musicbrainz/LookupOutcome.h"
#include "session/FileFacts.h"
#include "session/FileTagsAlbum.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class AlbumLookups;
class FileFactsReader;
class HistoryReader;
class JobControl;
class JobRunner;
class SessionJobs;

// What the window and the command line work on, and the one place that does the work: the
// albums found or typed in, the album whose own tracks are on show, its cover, the tracks on
// show and the file rows beside them (see FilePairing), with the edits made to them. The long
// operations run elsewhere on copies of the lists: the command line runs the work at once, the
// window through the commands below, which run it as jobs, one at a time, and take the results
// back. Every change is told by a signal. Lives on one thread.
class Session : public QObject {
    Q_OBJECT
public:
    enum class List { albums, tracks, files };
    // The file rows under their names after renaming, and what renaming did.
    struct Renamed {
        QStringList files;
        FileOutcome outcome;
    };
    template <typename Result>
    using Work = std::function<Result(JobControl &control)>;

    explicit Session(ServiceConfig config = ServiceConfig::placeholders(), QObject *parent = nullptr);
    ~Session() override;

    const ServiceConfig &serviceConfig() const { return m_config; }
    // Where work run at once on this thread (the command line's) gives out its status lines,
    // for its JobControl: they are the session's.
    std::function<void(const QString &line)> statusSink() { return [this](const QString &line) { status(line); }; }
    // The runner of the window's jobs, for those who follow a job on its worker.
    JobRunner &jobRunner();
    void setServiceConfig(ServiceConfig config) { m_config = std::move(config); }

    // The long operations, as work on copies of what they need, so that they may run on any
    // thread. The storefront code "musicbrainz" (MusicBrainzService::code()) searches MusicBrainz.
    static Work<SearchOutcome> search(ServiceConfig config, QString keywords, QString storefront);
    // The MusicBrainz release with this identifier, with its tracks and cover.
    static Work<LookupOutcome> lookup(ServiceConfig config, QString releaseId);
    Work<FileOutcome> tagRemoval(QStringList files) const;
    // Writes the album into the files of the rows, each with the track beside it.
    Work<FileOutcome> tagging(const ResultEntry &album) const;
    Work<Renamed> renaming(QString mask) const;
    // Takes back the newest operation of the journal not yet undone.
    Work<JournalUndo> undoing() const;
    // The undo journal every file operation of the session records its changes in.
    Journal journal() const { return Journal(m_journalFolder); }
    void setJournalFolder(const QString &folder) { m_journalFolder = folder; }
    // The journal's operations, newest first, as last read (readHistory).
    const QList<EntryFile::Contents> &history() const { return m_history; }
    // What undoing would take back, "Undo Tag files (12 files)"; empty with nothing to undo.
    QString undoText() const;
    Work<FileTagsAlbum> readingFileTags() const;
    // Pairs the files with the tracks on show of the album (its name and discs tell how far
    // the files' tags count); the result is taken back by takeLineup.
    Work<Lineup> lineUp(const ResultEntry &album) const;
    // Identifies the albums among these files on MusicBrainz (AlbumIdentifier).
    static Work<QList<Identification>> identification(ServiceConfig config, QStringList files);

    // The lists themselves (not copies); null or an empty optional when absent. The file
    // list holds the rows, an empty text for a track without a file.
    const ResultListPtr &albums() const { return m_albums; }
    const TrackListPtr &tracks() const { return m_tracks; }
    const std::optional<QStringList> &files() const { return m_files; }
    // The files listed, without the free slots.
    QStringList listedFiles() const;
    // Null while the tracks on show were typed in or read from files, or nothing is shown.
    const std::shared_ptr<ResultEntry> &shownAlbum() const { return m_shownAlbum; }
    // The cover shown for the album on show; tagging writes it.
    const std::optional<QImage> &cover() const { return m_cover; }
    int rowCount(List list) const;
    // A copy of the tracks on show, tracks included, for work on another thread; null without.
    TrackListPtr tracksCopy() const;
    // What renaming would make of a listed file, its length, and why the last command could
    // not change it; nothing while unknown.
    const FileFacts::Fact *factsOf(const QString &file) const;
    std::optional<QString> failureOf(const QString &file) const;
    // How well a listed album fits the files, as Find album scored it; nothing for the others.
    std::optional<double> scoreOf(const ResultEntry &album) const;
    // "No albums found for “WORDS”." after a search that found nothing; empty otherwise.
    QString noAlbumsText() const;

    // The commands. While a job runs (isBusy) none of them starts or changes anything.
    bool isBusy() const;
    void searchAlbums(const QString &keywords, const QString &storefront);
    // The album chosen in the album table (-1: none). Its tracks and cover go on show; one
    // that comes without them is looked up, at once or once the choice has rested a moment.
    void chooseAlbum(int row, bool lookUpAtOnce = true);
    // Tag or line up the files with the chosen album (or the first); put off while a look-up
    // is under way.
    void tagFiles(int chosenRow);
    void lineUpFiles(int chosenRow);
    // Finds the album of the files listed: lists the releases that may be it, best first and
    // scored, and when the best one fits with confidence, shows it and lines the files up
    // with it, ready to be checked and tagged.
    void findAlbum();
    void renameFiles();
    void removeTags(const QStringList &files);
    // Takes back the newest operation not yet undone; the files renamed back keep their rows.
    void undoLast();
    // Reads the journal's history anew, off this thread; historyChanged() tells the end.
    void readHistory();
    // Lists the audio files among these paths, told by content (a folder gives those of its
    // files anywhere beneath it that are named like audio files), all kept sorted by path,
    // numbers in names by value (CD2 after CD1), as a job that reads each file; what is
    // left out, the status line says. An empty window then takes album and tracks from
    // their tags.
    void addFiles(const QStringList &paths);
    void clearAll();
    void clearFiles();
    // The renaming mask the preview and the new names follow; until one is set (the command
    // line never does) no file facts are read.
    void setMask(const QString &mask);
    // Cancels the running job; waiting blocks until it, the look-up it led to and the job that
    // look-up let go on have returned and their results and status lines are given out.
    void cancelJob();
    void waitForJob();

    // Edits of the lists (also while testing the work).
    void setAlbums(ResultListPtr albums);
    void setFiles(QStringList files);
    // Lists just this album, its tracks on show, and these files in this order: where the
    // command line's file commands start.
    void listOnly(const std::shared_ptr<ResultEntry> &album, QStringList files);
    // The album tagging writes: the chosen row, or the first album; null without albums.
    std::shared_ptr<ResultEntry> albumToTag(int chosenRow) const;
    // The status line that says why pairing the files with this album's tracks to "tag" or
    // "line up" them cannot start; nothing when it can.
    std::optional<QString> whyNotPairFiles(const QString &verb, const ResultEntry *album) const;
    // Whether the album is a catalogue's summary whose tracks and cover come with a look-up.
    static bool needsLookup(const ResultEntry &album) { return album.id() && !album.trackList(); }
    // Moves rows of the track or file list to the insertion point dropRow; file rows dropped
    // onto a free slot take its place.
    void moveRows(List list, const QList<int> &rows, int dropRow, bool ontoSlot = false);
    void removeRows(List list, const QList<int> &rows);
    // Appends an album typed in by hand; integer fields take the integer value of the text.
    void addAlbum(const std::optional<QString> &artist, const std::optional<QString> &album,
                  const std::optional<QString> &year, const std::optional<QString> &genre,
                  const std::optional<QString> &label, const std::optional<QString> &tracks,
                  const std::optional<QString> &discs);
    // Appends a track to the tracks on show; the first one typed for an album on show starts
    // that album's own list.
    void addTrack(const std::optional<QString> &title, const std::optional<QString> &artist);
    // Lists the album and tracks the files' tags gave, if still nothing is listed.
    void takeFileTagsAlbum(const FileTagsAlbum &tags);
    // Lays the files out as the line-up paired them, if the files listed are still the ones
    // it lined up; returns whether it did.
    bool takeLineup(const Lineup &lineup);

signals:
    void albumsChanged();      // replaced, grown or shrunk: the album table is read anew
    void albumsEdited();       // values changed in place
    void searchFinished(int albums);
    // The session chose this album row itself (Find album's best candidate).
    void albumChosen(int row);
    void tracksChanged();
    void filesChanged();
    void filesEdited();        // names, new names, lengths or failure marks changed in place
    void coverChanged();
    void previewChanged(const QString &preview);
    void keywordsFound(const QString &keywords);
    void statusChanged(const QString &message);
    // The files a command could not change ("path: reason" lines).
    void fileFailuresReported(const QString &command, const QStringList &failures);
    void jobRunningChanged(bool running);
    void progressChanged(qint64 done, qint64 total);
    void historyChanged();

private:
    void status(const QString &message) { emit statusChanged(message); }
    void status(const QStringList &messages);
    bool awaitsAlbumFromTags() const;
    void takeAlbumFromFileTags();
    // Shows this album's own tracks and cover (none for no album).
    void showAlbum(const std::shared_ptr<ResultEntry> &album);
    // Told after every change of the album list: with no album chosen, tagging writes the
    // first one, so an album on show must be the first; tracks typed in or read from files stay.
    void albumsReset();
    void showFirstAlbumIfNoneIsChosen();
    void tracksReset();
    void filesReset();
    void lookUpShownAlbum();
    void takeLookup(const std::shared_ptr<ResultEntry> &album, const LookupOutcome &outcome);
    // The album a pairing command works on, once no look-up is under way: null when it was put
    // off until the look-up ends or cannot start, which the status line then says.
    std::shared_ptr<ResultEntry> albumForFiles(const QString &verb, int chosenRow, void (Session::*command)(int));
    void forgetFailures();
    void reportFileOutcome(const QString &command, const FileOutcome &outcome, qsizetype files,
                           const QStringList &notes = {});
    void readFileFacts();
    void takeIdentification(const QList<Identification> &found);

    ServiceConfig m_config;
    QString m_journalFolder = Journal::defaultFolder();
    ResultListPtr m_albums;
    TrackListPtr m_tracks;
    std::optional<QStringList> m_files;
    std::shared_ptr<ResultEntry> m_shownAlbum;
    std::optional<QImage> m_cover;
    std::optional<QString> m_mask;
    std::optional<QString> m_emptySearch; // the keywords of a search that found nothing
    FileFacts m_facts;
    QHash<QString, QString> m_failures;
    QHash<const ResultEntry *, double> m_scores; // of the listed albums Find album scored
    QTimer m_lookupRest;
    std::unique_ptr<FileFactsReader> m_factsReader;
    QList<EntryFile::Contents> m_history;
    std::unique_ptr<HistoryReader> m_historyReader;
    std::unique_ptr<AlbumLookups> m_lookups;
    // Last, so that it goes first: a running job stops and is waited for; its result goes nowhere.
    std::unique_ptr<SessionJobs> m_jobs;
};
