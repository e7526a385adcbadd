#include "session/Session.h"

#include "album/IntValue.h"
#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "files/FolderListing.h"
#include "files/TagFile.h"
#include "search/musicbrainz/MusicBrainzSearch.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/storefront/SearchEngine.h"
#include "session/AlbumLookups.h"
#include "session/FileFactsReader.h"
#include "session/FilePairing.h"
#include "session/AudioListing.h"
#include "session/HistoryReader.h"
#include "session/RowEdits.h"
#include "session/SessionJobs.h"
#include "session/StatusText.h"

#include <algorithm>

Session::Session(ServiceConfig config, QObject *parent)
    : QObject(parent), m_config(std::move(config)),
      m_factsReader(std::make_unique<FileFactsReader>([this](const FileFacts &facts) {
          m_facts = facts;
          emit filesEdited();
          emit previewChanged(facts.preview);
      })),
      m_historyReader(std::make_unique<HistoryReader>([this](const QList<EntryFile::Contents> &history) {
          m_history = history;
          emit historyChanged();
      })),
      m_lookups(std::make_unique<AlbumLookups>([this](const auto &album, const auto &outcome) {
          takeLookup(album, outcome);
      })),
      m_jobs(std::make_unique<SessionJobs>([this](bool running) { emit jobRunningChanged(running); }))
{
    // Status lines of work on a worker arrive here queued, in their order, before the job's end.
    for (JobRunner *runner : {&m_jobs->runner(), &m_lookups->runner()})
        connect(runner, &JobRunner::statusReported, this, [this](const QString &line) { status(line); });
    connect(&m_jobs->runner(), &JobRunner::progressChanged, this, &Session::progressChanged);
    m_lookupRest.setSingleShot(true);
    m_lookupRest.setInterval(300);
    connect(&m_lookupRest, &QTimer::timeout, this, &Session::lookUpShownAlbum);
}

// A running job stops after its current file and is waited for; its results go nowhere.
Session::~Session()
{
    m_jobs.reset();
    m_lookups.reset();
}

bool Session::isBusy() const
{
    return m_jobs->isBusy();
}

JobRunner &Session::jobRunner()
{
    return m_jobs->runner();
}

void Session::cancelJob()
{
    m_jobs->runner().cancel();
}

void Session::waitForJob()
{
    if (m_lookupRest.isActive()) {
        m_lookupRest.stop();
        lookUpShownAlbum();
    }
    m_jobs->runner().waitForFinished();
    m_lookups->waitForFinished();
    m_jobs->runner().waitForFinished();
    m_factsReader->waitForFinished();
    m_historyReader->waitForFinished();
}

void Session::status(const QStringList &messages)
{
    for (const QString &message : messages)
        status(message);
}

int Session::rowCount(List list) const
{
    switch (list) {
    case List::albums: return m_albums ? int(m_albums->size()) : 0;
    case List::tracks: return m_tracks ? int(m_tracks->size()) : 0;
    case List::files: return m_files ? int(m_files->size()) : 0;
    }
    return 0;
}

QStringList Session::listedFiles() const
{
    return FilePairing::filesOf(m_files.value_or(QStringList()));
}

TrackListPtr Session::tracksCopy() const
{
    if (!m_tracks)
        return nullptr;
    auto copy = std::make_shared<TrackList>();
    for (const std::shared_ptr<Track> &track : *m_tracks)
        copy->append(std::make_shared<Track>(*track));
    return copy;
}

const FileFacts::Fact *Session::factsOf(const QString &file) const
{
    const auto found = m_facts.byFile.constFind(file);
    return found == m_facts.byFile.cend() ? nullptr : &*found;
}

std::optional<QString> Session::failureOf(const QString &file) const
{
    const auto found = m_failures.constFind(file);
    return found == m_failures.cend() ? std::nullopt : std::optional(*found);
}

QString Session::noAlbumsText() const
{
    if (!m_emptySearch || rowCount(List::albums) > 0)
        return QString();
    return QStringLiteral("No albums found for \u201C%1\u201D.").arg(*m_emptySearch);
}

// --- the lists ----------------------------------------------------------------------------

std::optional<double> Session::scoreOf(const ResultEntry &album) const
{
    const auto found = m_scores.constFind(&album);
    return found == m_scores.cend() ? std::nullopt : std::optional(*found);
}

void Session::albumsReset()
{
    // A removed album's score must not pass to a new album at its address.
    m_scores.removeIf([this](const auto &score) {
        return !m_albums || std::none_of(m_albums->cbegin(), m_albums->cend(),
                                         [album = score.key()](const auto &entry) { return entry.get() == album; });
    });
    emit albumsChanged();
    showFirstAlbumIfNoneIsChosen();
}

void Session::showFirstAlbumIfNoneIsChosen()
{
    if (!m_shownAlbum)
        return;
    const std::shared_ptr<ResultEntry> first = m_albums && !m_albums->isEmpty() ? m_albums->first() : nullptr;
    if (m_shownAlbum != first)
        showAlbum(first);
}

void Session::tracksReset()
{
    emit tracksChanged();
    filesReset();
}

void Session::filesReset()
{
    if (m_files)
        FilePairing::align(*m_files, rowCount(List::tracks));
    emit filesChanged();
    readFileFacts();
}

void Session::readFileFacts()
{
    if (m_mask)
        m_factsReader->read(listedFiles(), *m_mask);
}

void Session::setMask(const QString &mask)
{
    m_mask = mask;
    readFileFacts();
}

void Session::setAlbums(ResultListPtr albums)
{
    m_lookups->cancelAll();
    m_albums = std::move(albums);
    m_scores.clear();
    m_tracks.reset();
    m_shownAlbum.reset();
    m_cover.reset();
    emit coverChanged();
    emit albumsChanged();
    tracksReset();
}

void Session::setFiles(QStringList files)
{
    m_files = std::move(files);
    filesReset();
}

void Session::clearFiles()
{
    if (isBusy())
        return;
    m_files.reset();
    m_failures.clear();
    filesReset();
    status(StatusText::waitingForInput());
}

void Session::clearAll()
{
    if (isBusy())
        return;
    m_emptySearch.reset();
    setAlbums(nullptr);
    clearFiles();
}

void Session::showAlbum(const std::shared_ptr<ResultEntry> &album)
{
    m_shownAlbum = album;
    m_tracks = album ? album->trackList() : nullptr;
    // The cover shown is the album's own, or none: tagging writes whatever is shown, so it
    // must never keep the cover of an album chosen before.
    m_cover = album ? album->cover() : std::nullopt;
    emit coverChanged();
    tracksReset();
}

void Session::chooseAlbum(int row, bool lookUpAtOnce)
{
    const int albums = rowCount(List::albums);
    if (row < 0 || row >= albums)
        return showFirstAlbumIfNoneIsChosen();
    // A single album whose tracks are on show (typed in or read from files) keeps them.
    if (albums < 2 && !(albums == 1 && rowCount(List::tracks) == 0))
        return;
    showAlbum(m_albums->at(row));
    m_lookupRest.stop();
    if (lookUpAtOnce)
        lookUpShownAlbum();
    else
        m_lookupRest.start();
}

void Session::lookUpShownAlbum()
{
    const std::shared_ptr<ResultEntry> album = m_shownAlbum;
    if (album && needsLookup(*album) && !m_lookups->isLookingUp(album.get())) {
        status(StatusText::lookupStarted(*album));
        m_lookups->lookUp(album, lookup(m_config, *album->id()));
    }
}

void Session::takeLookup(const std::shared_ptr<ResultEntry> &album, const LookupOutcome &outcome)
{
    if (!outcome.album && !outcome.failure)
        return; // cancelled
    if (outcome.album) {
        // The listed object itself takes the values, so every holder of it sees the tracks.
        *album = *outcome.album;
        emit albumsEdited();
        if (m_shownAlbum == album)
            showAlbum(album);
    }
    status(StatusText::lookupEnded(*album, outcome.failure));
}

std::shared_ptr<ResultEntry> Session::albumToTag(int chosenRow) const
{
    if (!m_albums || m_albums->isEmpty())
        return nullptr;
    return m_albums->at(chosenRow >= 0 && chosenRow < m_albums->size() ? chosenRow : 0);
}

std::optional<QString> Session::whyNotPairFiles(const QString &verb, const ResultEntry *album) const
{
    if (listedFiles().isEmpty())
        return StatusText::noFilesTo(verb);
    if (!album)
        return StatusText::noAlbumTo(verb);
    return std::nullopt;
}

void Session::listOnly(const std::shared_ptr<ResultEntry> &album, QStringList files)
{
    setAlbums(std::make_shared<ResultList>(ResultList{album}));
    showAlbum(album);
    setFiles(std::move(files));
}

void Session::moveRows(List list, const QList<int> &rows, int dropRow, bool ontoSlot)
{
    if (isBusy())
        return;
    if (list == List::files && m_files) {
        FilePairing::moveRows(*m_files, rows, dropRow, ontoSlot, rowCount(List::tracks));
        filesReset();
    } else if (list == List::tracks && m_tracks) {
        ::moveRows(*m_tracks, rows, dropRow);
        tracksReset();
    }
}

void Session::removeRows(List list, const QList<int> &rows)
{
    if (isBusy() || rows.isEmpty())
        return;
    switch (list) {
    case List::albums:
        if (m_albums) {
            ::removeRows(*m_albums, rows);
            albumsReset();
        }
        break;
    case List::tracks:
        if (m_tracks) {
            ::removeRows(*m_tracks, rows);
            tracksReset();
        }
        break;
    case List::files:
        if (m_files) {
            FilePairing::removeRows(*m_files, rows, rowCount(List::tracks));
            filesReset();
        }
        break;
    }
}

void Session::addAlbum(const std::optional<QString> &artist, const std::optional<QString> &album,
                       const std::optional<QString> &year, const std::optional<QString> &genre,
                       const std::optional<QString> &label, const std::optional<QString> &tracks,
                       const std::optional<QString> &discs)
{
    if (isBusy())
        return;
    if (!m_albums)
        m_albums = std::make_shared<ResultList>();
    auto entry = std::make_shared<ResultEntry>();
    entry->setArtistName(artist);
    entry->setAlbumName(album);
    entry->setYearOfPublication(year);
    entry->setGenre(genre);
    entry->setLabel(label);
    entry->setNumberOfTracks(intValue(tracks.value_or(QString())));
    entry->setNumberOfDiscs(intValue(discs.value_or(QString())));
    m_albums->append(entry);
    albumsReset();
}

void Session::addTrack(const std::optional<QString> &title, const std::optional<QString> &artist)
{
    if (isBusy())
        return;
    if (!m_tracks) {
        m_tracks = std::make_shared<TrackList>();
        if (m_shownAlbum)
            m_shownAlbum->setTrackList(m_tracks);
    }
    auto track = std::make_shared<Track>();
    track->setTitle(title);
    track->setArtist(artist);
    m_tracks->append(track);
    tracksReset();
}

void Session::addFiles(const QStringList &paths)
{
    if (isBusy())
        return;
    m_jobs->start<AudioListing>([paths](JobControl &control) { return AudioListing::of(paths, &control); },
                              [this](const AudioListing &found) {
        QStringList files = listedFiles() + found.files;
        // Every drop sorts the whole list anew, rows lined up by hand included.
        FolderListing::sortNaturally(files);
        setFiles(files);
        if (!found.refused.isEmpty())
            status(StatusText::filesLeftOut(found.refused));
        if (awaitsAlbumFromTags())
            takeAlbumFromFileTags();
    });
}

void Session::takeAlbumFromFileTags()
{
    m_jobs->start<FileTagsAlbum>(readingFileTags(), [this](const FileTagsAlbum &tags) {
        takeFileTagsAlbum(tags);
        if (tags.album)
            emit keywordsFound(tags.keywords);
        if (tags.cover) {
            m_cover = tags.cover;
            emit coverChanged();
        }
    });
}

bool Session::awaitsAlbumFromTags() const
{
    return rowCount(List::albums) == 0 && rowCount(List::tracks) == 0 && m_files;
}

void Session::takeFileTagsAlbum(const FileTagsAlbum &tags)
{
    if (!awaitsAlbumFromTags() || !tags.album)
        return;
    if (!m_albums)
        m_albums = std::make_shared<ResultList>();
    m_albums->append(tags.album);
    // The tracks keep the disc and number the files gave them.
    m_tracks = std::make_shared<TrackList>(*tags.tracks);
    albumsReset();
    tracksReset();
}

bool Session::takeLineup(const Lineup &lineup)
{
    QStringList listed = listedFiles();
    QStringList lined = lineup.order;
    std::sort(listed.begin(), listed.end());
    std::sort(lined.begin(), lined.end());
    if (lined.isEmpty() || listed != lined)
        return false;
    setFiles(FilePairing::rowsOfLineup(lineup));
    return true;
}
