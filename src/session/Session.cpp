#include "session/Session.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "files/TagFile.h"
#include "album/IntValue.h"
#include "search/musicbrainz/MusicBrainzSearch.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/storefront/SearchEngine.h"
#include "session/RowEdits.h"
#include "session/StatusText.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

int Session::rowCount(List list) const
{
    switch (list) {
    case List::albums: return m_albums ? int(m_albums->size()) : 0;
    case List::tracks: return m_tracks ? int(m_tracks->size()) : 0;
    case List::files: return m_files ? int(m_files->size()) : 0;
    }
    return 0;
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

void Session::clearAlbums()
{
    setAlbums(nullptr);
}

void Session::clearFiles()
{
    m_files.reset();
}

void Session::setAlbums(ResultListPtr albums)
{
    m_albums = std::move(albums);
    m_tracks.reset();
    m_shownAlbum.reset();
}

void Session::showAlbum(const std::shared_ptr<ResultEntry> &album)
{
    m_shownAlbum = album;
    m_tracks = album ? album->trackList() : nullptr;
}

bool Session::showFirstAlbumIfNoneIsChosen()
{
    if (!m_shownAlbum)
        return false;
    const std::shared_ptr<ResultEntry> first = m_albums && !m_albums->isEmpty() ? m_albums->first() : nullptr;
    if (m_shownAlbum == first)
        return false;
    showAlbum(first);
    return true;
}

bool Session::chooseAlbum(int row)
{
    const int albums = rowCount(List::albums);
    if (row < 0 || row >= albums)
        return showFirstAlbumIfNoneIsChosen();
    // A single album whose tracks are on show (typed in or read from files) keeps them.
    if (albums < 2 && !(albums == 1 && rowCount(List::tracks) == 0))
        return false;
    showAlbum(m_albums->at(row));
    return true;
}

std::shared_ptr<ResultEntry> Session::albumToTag(int chosenRow) const
{
    if (!m_albums || m_albums->isEmpty())
        return nullptr;
    return m_albums->at(chosenRow >= 0 && chosenRow < m_albums->size() ? chosenRow : 0);
}

std::optional<QString> Session::whyNotPairFiles(const QString &verb, const ResultEntry *album) const
{
    if (rowCount(List::files) == 0)
        return StatusText::noFilesTo(verb);
    if (!album)
        return StatusText::noAlbumTo(verb);
    return std::nullopt;
}

void Session::listOnly(const std::shared_ptr<ResultEntry> &album, QStringList files)
{
    setAlbums(std::make_shared<ResultList>(ResultList{album}));
    showAlbum(album);
    m_files = std::move(files);
}

bool Session::takeLookedUp(const std::shared_ptr<ResultEntry> &album, const ResultEntry &found)
{
    // The listed object itself takes the values, so every holder of it sees the tracks.
    *album = found;
    if (m_shownAlbum != album)
        return false;
    showAlbum(album);
    return true;
}

void Session::moveRows(List list, const QList<int> &rows, int dropRow)
{
    if (list == List::files && m_files)
        ::moveRows(*m_files, rows, dropRow);
    else if (list == List::tracks && m_tracks)
        ::moveRows(*m_tracks, rows, dropRow);
}

void Session::removeRows(List list, const QList<int> &rows)
{
    switch (list) {
    case List::albums:
        if (m_albums)
            ::removeRows(*m_albums, rows);
        break;
    case List::tracks:
        if (m_tracks)
            ::removeRows(*m_tracks, rows);
        break;
    case List::files:
        if (m_files)
            ::removeRows(*m_files, rows);
        break;
    }
}

void Session::addAlbum(const std::optional<QString> &artist, const std::optional<QString> &album,
                       const std::optional<QString> &year, const std::optional<QString> &genre,
                       const std::optional<QString> &label, const std::optional<QString> &tracks,
                       const std::optional<QString> &discs)
{
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
}

void Session::addTrack(const std::optional<QString> &title, const std::optional<QString> &artist)
{
    if (!m_tracks) {
        m_tracks = std::make_shared<TrackList>();
        if (m_shownAlbum)
            m_shownAlbum->setTrackList(m_tracks);
    }
    auto track = std::make_shared<Track>();
    track->setTitle(title);
    track->setArtist(artist);
    m_tracks->append(track);
}

QStringList Session::addFiles(const QStringList &paths)
{
    if (!m_files)
        m_files.emplace();
    QStringList leftOut;
    // Told by content, as every command takes files: a file given by name is listed only
    // when it is one to tag; in a folder, only files named like audio are looked at.
    const auto addIfAudio = [this, &leftOut](const QString &path) {
        if (TagFile::open(path)->problem().isEmpty())
            m_files->append(path);
        else
            leftOut.append(path);
    };
    for (const QString &path : paths) {
        if (QFileInfo(path).isDir()) {
            const QDir folder(path);
            const QStringList entries =
                folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
            for (const QString &entry : entries) {
                if (TagFile::suffixes().contains(QFileInfo(entry).suffix().toLower()))
                    addIfAudio(folder.filePath(entry));
            }
        } else {
            addIfAudio(path);
        }
    }
    std::stable_sort(m_files->begin(), m_files->end());
    return leftOut;
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
    for (const std::shared_ptr<Track> &track : *tags.tracks)
        addTrack(track->title(), track->artist());
}

Session::Work<SearchOutcome> Session::search(ServiceConfig config, QString keywords, QString storefront)
{
    return [config = std::move(config), keywords = std::move(keywords), storefront = std::move(storefront)](
               JobControl &control) {
        if (storefront == MusicBrainzService::code())
            return MusicBrainzSearch(config).search(keywords, &control);
        return SearchEngine(config).buildSearchResultFromKeywords(keywords, storefront, &control);
    };
}

Session::Work<LookupOutcome> Session::lookup(ServiceConfig config, QString releaseId)
{
    return [config = std::move(config), releaseId = std::move(releaseId)](JobControl &control) {
        return MusicBrainzSearch(config).lookup(releaseId, &control);
    };
}

Session::Work<FileOutcome> Session::tagging(const ResultEntry &album) const
{
    return [files = m_files.value_or(QStringList()), tracks = tracksCopy(), album](JobControl &control) {
        return FileHandler().tagFiles(files, tracks, album, &control);
    };
}

Session::Work<Session::Renamed> Session::renaming(QString mask) const
{
    return [files = m_files.value_or(QStringList()), mask = std::move(mask)](JobControl &control) {
        Renamed renamed{files, {}};
        renamed.outcome = FileHandler().renameFiles(renamed.files, mask, &control);
        return renamed;
    };
}

Session::Work<FileOutcome> Session::tagRemoval(QStringList files)
{
    return [files = std::move(files)](JobControl &control) { return FileHandler().removeTags(files, &control); };
}

Session::Work<FileTagsAlbum> Session::readingFileTags() const
{
    return [files = m_files.value_or(QStringList())](JobControl &control) { return FileTagsAlbum::read(files, &control); };
}

Session::Work<Lineup> Session::lineUp(const ResultEntry &album) const
{
    return [files = m_files.value_or(QStringList()), tracks = tracksCopy(), album](JobControl &control) {
        const QList<FileClues> clues = FileClues::readAll(files, &control);
        if (clues.size() < files.size())
            return Lineup{};
        return Lineup::match(clues, tracks ? *tracks : TrackList(), album);
    };
}

bool Session::takeLineup(const Lineup &lineup)
{
    QStringList listed = m_files.value_or(QStringList());
    QStringList lined = lineup.order;
    std::sort(listed.begin(), listed.end());
    std::sort(lined.begin(), lined.end());
    if (lined.isEmpty() || listed != lined)
        return false;
    m_files = lineup.order;
    return true;
}

QString Session::preview(const QString &mask) const
{
    return FileHandler().buildPreviewForFiles(m_files.value_or(QStringList()), mask);
}
