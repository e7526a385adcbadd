// The session's long operations: the work they hand out, and the commands that run that work
// as jobs and take the results back into the lists.
#include "session/Session.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "journal/JournalEntry.h"
#include "search/musicbrainz/MusicBrainzSearch.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/storefront/SearchEngine.h"
#include "session/AlbumLookups.h"
#include "session/FilePairing.h"
#include "session/HistoryReader.h"
#include "session/SessionJobs.h"
#include "session/StatusText.h"
#include "session/TrackCountNote.h"

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

Session::Work<FileOutcome> Session::tagRemoval(QStringList files) const
{
    return [files = std::move(files), journal = journal()](JobControl &control) {
        const auto entry = journal.begin(Journal::Operation::removeTags);
        return FileHandler(entry.get()).removeTags(files, &control);
    };
}

Session::Work<FileOutcome> Session::tagging(const ResultEntry &album) const
{
    // The rows as they are: an empty one is a track without a file, which tagging passes over.
    return [rows = m_files.value_or(QStringList()), tracks = tracksCopy(), album, journal = journal()](JobControl &control) {
        const auto entry = journal.begin(Journal::Operation::tagFiles);
        return FileHandler(entry.get()).tagFiles(rows, tracks, album, &control);
    };
}

Session::Work<Session::Renamed> Session::renaming(QString mask) const
{
    return [rows = m_files.value_or(QStringList()), mask = std::move(mask), journal = journal()](JobControl &control) {
        QStringList files = FilePairing::filesOf(rows);
        const auto entry = journal.begin(Journal::Operation::renameFiles);
        Renamed renamed{rows, FileHandler(entry.get()).renameFiles(files, mask, &control)};
        // Each file goes back to its row under its new name.
        qsizetype next = 0;
        for (QString &row : renamed.files)
            if (!row.isEmpty())
                row = files.at(next++);
        return renamed;
    };
}

Session::Work<JournalUndo> Session::undoing() const
{
    return [journal = journal()](JobControl &control) { return JournalUndo::undoNewest(journal, &control); };
}

Session::Work<FileTagsAlbum> Session::readingFileTags() const
{
    return [files = listedFiles()](JobControl &control) { return FileTagsAlbum::read(files, &control); };
}

Session::Work<Lineup> Session::lineUp(const ResultEntry &album) const
{
    return [files = listedFiles(), tracks = tracksCopy(), album](JobControl &control) {
        const QList<FileClues> clues = FileClues::readAll(files, &control);
        if (clues.size() < files.size())
            return Lineup{};
        return Lineup::match(clues, tracks ? *tracks : TrackList(), album);
    };
}

void Session::searchAlbums(const QString &keywords, const QString &storefront)
{
    if (keywords.isEmpty() || isBusy())
        return;
    m_emptySearch.reset();
    setAlbums(nullptr);
    status(StatusText::searchStarted(storefront));
    m_jobs->start<SearchOutcome>(search(m_config, keywords, storefront), [this, keywords, storefront](const SearchOutcome &outcome) {
        if (outcome.albums->isEmpty())
            m_emptySearch = keywords;
        setAlbums(outcome.albums);
        emit searchFinished(int(outcome.albums->size()));
        status(StatusText::searchFinished(outcome, storefront));
    });
}

std::shared_ptr<ResultEntry> Session::albumForFiles(const QString &verb, int chosenRow, void (Session::*command)(int))
{
    if (isBusy())
        return nullptr;
    if (m_lookupRest.isActive()) {
        m_lookupRest.stop();
        lookUpShownAlbum();
    }
    if (m_lookups->isBusy()) {
        m_lookups->whenIdle([this, command, chosenRow] { (this->*command)(chosenRow); });
        return nullptr;
    }
    std::shared_ptr<ResultEntry> album = albumToTag(chosenRow);
    if (const std::optional<QString> refusal = whyNotPairFiles(verb, album.get())) {
        status(*refusal);
        return nullptr;
    }
    return album;
}

void Session::tagFiles(int chosenRow)
{
    const std::shared_ptr<ResultEntry> album = albumForFiles(QStringLiteral("tag"), chosenRow, &Session::tagFiles);
    if (!album)
        return;
    const qsizetype files = listedFiles().size();
    // Said as the run ends, where the line stays in sight.
    const QStringList notes = trackCountNotes(files, rowCount(List::tracks), FilePairing::freeTracks(*m_files, rowCount(List::tracks)));
    status(StatusText::taggingStarted());
    album->setCover(m_cover);
    forgetFailures();
    m_jobs->start<FileOutcome>(tagging(*album), [this, files, notes](const FileOutcome &outcome) {
        reportFileOutcome(QStringLiteral("Tagging"), outcome, files, notes);
    });
}

void Session::lineUpFiles(int chosenRow)
{
    const std::shared_ptr<ResultEntry> album = albumForFiles(QStringLiteral("line up"), chosenRow, &Session::lineUpFiles);
    if (!album)
        return;
    m_jobs->start<Lineup>(lineUp(*album), [this](const Lineup &lineup) {
        if (!takeLineup(lineup))
            return;
        status(StatusText::linedUp(lineup.matched, lineup.order.size()));
    });
}

void Session::renameFiles()
{
    if (isBusy())
        return;
    const qsizetype files = listedFiles().size();
    if (files == 0)
        return status(StatusText::noFilesTo(QStringLiteral("rename")));
    status(StatusText::renamingStarted());
    forgetFailures();
    m_jobs->start<Renamed>(renaming(m_mask.value_or(QString())), [this, files](const Renamed &renamed) {
        // The rows stay the same files under new names.
        m_files = renamed.files;
        reportFileOutcome(QStringLiteral("Renaming"), renamed.outcome, files);
    });
}

void Session::removeTags(const QStringList &files)
{
    if (isBusy())
        return;
    forgetFailures();
    m_jobs->start<FileOutcome>(tagRemoval(files), [this, count = files.size()](const FileOutcome &outcome) {
        reportFileOutcome(QStringLiteral("Removing tags"), outcome, count);
        readFileFacts();
    });
}

QString Session::undoText() const
{
    for (const EntryFile::Contents &entry : m_history) {
        if (!entry.undone)
            return StatusText::undoCommand(entry.what, entry.changes);
    }
    return {};
}

void Session::readHistory()
{
    m_historyReader->read(journal());
}

void Session::undoLast()
{
    if (isBusy())
        return;
    forgetFailures();
    status(StatusText::undoStarted(undoText()));
    m_jobs->start<JournalUndo>(undoing(), [this](const JournalUndo &undo) {
        if (!undo.entry)
            return status(StatusText::nothingToUndo());
        // The files renamed back keep their rows under their old names.
        QHash<QString, QString> oldNames;
        for (const EntryFile::RenameRecord &rename : undo.entry->renames)
            oldNames.insert(rename.to, rename.from);
        for (const FileFailure &failure : undo.outcome.failures)
            oldNames.remove(failure.path);
        if (m_files) {
            for (QString &row : *m_files)
                row = oldNames.value(row, row);
        }
        reportFileOutcome(QStringLiteral("Undo"), undo.outcome, undo.entry->changes);
    });
}

void Session::forgetFailures()
{
    m_failures.clear();
    emit filesEdited();
}

void Session::reportFileOutcome(const QString &command, const FileOutcome &outcome, qsizetype files,
                                const QStringList &notes)
{
    // The marks of a run stay on its failed files until the next run starts.
    for (const FileFailure &failure : outcome.failures)
        m_failures.insert(failure.path, failure.reason);
    emit filesEdited();
    // The tags or names changed, and with them the new names and what Undo takes back.
    readFileFacts();
    readHistory();
    if (!outcome.failures.isEmpty())
        emit fileFailuresReported(command, outcome.failureLines());
    status(StatusText::fileCommandEnded(command, outcome, files, notes));
}
