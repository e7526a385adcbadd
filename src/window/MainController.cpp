#include "window/MainController.h"

#include "common/StatusNotification.h"
#include "session/StatusText.h"
#include "window/AlbumTableModel.h"
#include "window/FileTableModel.h"
#include "window/TableDragData.h"
#include "window/TrackTableModel.h"

#include <QMimeData>

namespace {

// The tables show the session's lists in the same order.
static_assert(int(TableOutlet::resultTableView) == int(Session::List::albums)
              && int(TableOutlet::trackListView) == int(Session::List::tracks)
              && int(TableOutlet::fileListView) == int(Session::List::files));
Session::List listOf(TableOutlet table) { return Session::List(int(table)); }

const QList<TextOutlet> albumFields{TextOutlet::artist, TextOutlet::album, TextOutlet::publicationYear,
                                    TextOutlet::genre,  TextOutlet::label, TextOutlet::tracks,
                                    TextOutlet::discs};

} // namespace

MainController::MainController(WindowSurface &surface, ServiceConfig config)
    : m_surface(surface), m_config(std::move(config)),
      m_models{std::make_unique<AlbumTableModel>(*this, m_session), std::make_unique<TrackTableModel>(*this, m_session),
               std::make_unique<FileTableModel>(*this, m_session)},
      m_jobs(std::make_unique<SessionJobs>([this](bool running) { m_surface.showJobRunning(running); })),
      m_lookups(std::make_unique<AlbumLookups>([this](const auto &album, const auto &outcome) {
          takeLookup(album, outcome);
      }))
{
    initialize();
    QObject::connect(&m_jobs->runner(), &JobRunner::progressChanged, &m_jobs->runner(),
                     [this](qint64 done, qint64 total) { m_surface.showJobProgress(done, total); });
}

// A running job stops after its current file and is waited for; its results go nowhere.
MainController::~MainController()
{
    m_lookups.reset();
    m_jobs.reset();
}

void MainController::waitForJob()
{
    m_jobs->runner().waitForFinished();
    m_lookups->waitForFinished();
    m_jobs->runner().waitForFinished();
}

void MainController::awakeFromNib()
{
    m_surface.setStringValue(TextOutlet::renaming, userDefault(QVRenamingMaskKey).toString());
    // Status lines posted by a job on the worker arrive here queued, in their order, and
    // before the job's end.
    m_statusObserver = std::make_unique<QueuedObserver>(
        QVStatusChangedNotification, &m_jobs->runner(),
        [this](const QString &, const void *, const QVariantMap &userInfo) { handleStatusChange(userInfo); });
    switchStatus(StatusText::waitingForInput());
}

void MainController::getSearchResult()
{
    const QString keywords = m_surface.stringValue(TextOutlet::keywords);
    if (keywords.isEmpty() || jobRunning())
        return;
    clearTableViewsAndDataSources();
    const QString source = ServiceConfig::storefrontCodeForButtonTag(m_surface.selectedTag());
    switchStatus(StatusText::searchStarted(source));
    m_jobs->start<SearchOutcome>(Session::search(m_config, keywords, source), [this, source](const SearchOutcome &outcome) {
        m_session.setAlbums(outcome.albums);
        refreshTableView(TableOutlet::resultTableView);
        if (numberOfRowsInTableView(TableOutlet::resultTableView) > 0)
            m_surface.selectRow(TableOutlet::resultTableView, 0);
        switchStatus(StatusText::searchFinished(outcome, source));
    });
}

void MainController::clearAll()
{
    if (jobRunning())
        return;
    clearTableViewsAndDataSources();
    clearFiles();
    m_surface.setStringValue(TextOutlet::keywords, QString());
}

void MainController::clearFiles()
{
    if (jobRunning())
        return;
    m_session.clearFiles();
    refreshTableView(TableOutlet::fileListView);
    switchStatus(StatusText::waitingForInput());
}

void MainController::clearTableViewsAndDataSources()
{
    m_lookups->cancelAll();
    m_session.clearAlbums();
    refreshTableView(TableOutlet::resultTableView);
    refreshTableView(TableOutlet::trackListView);
    clearDetails();
}

void MainController::refreshTableView(TableOutlet table)
{
    model(table)->reloadData();
    m_surface.setNeedsDisplay(table);
    m_surface.deselectAll(table);
    // Resetting the model drops the selection without telling the selection's observers.
    if (table == TableOutlet::resultTableView && m_session.showFirstAlbumIfNoneIsChosen())
        showChosenAlbum();
}

void MainController::showChosenAlbum()
{
    // The cover view shows the album's own cover, or none: tagging writes whatever it
    // shows, so it must never keep the cover of an album chosen before.
    const std::shared_ptr<ResultEntry> &album = m_session.shownAlbum();
    m_surface.setImage(album ? album->cover() : std::nullopt);
    refreshTableView(TableOutlet::trackListView);
    if (album && Session::needsLookup(*album) && !m_lookups->isLookingUp(album.get())) {
        switchStatus(StatusText::lookupStarted(*album));
        m_lookups->lookUp(album, Session::lookup(m_config, *album->id()));
    }
}

void MainController::takeLookup(const std::shared_ptr<ResultEntry> &album, const LookupOutcome &outcome)
{
    if (!outcome.album && !outcome.failure)
        return; // cancelled
    if (outcome.album) {
        const bool shown = m_session.takeLookedUp(album, *outcome.album);
        model(TableOutlet::resultTableView)->refreshCells();
        if (shown)
            showChosenAlbum();
    }
    switchStatus(StatusText::lookupEnded(*album, outcome.failure));
}

void MainController::switchStatus(const QString &message)
{
    m_surface.setStringValue(TextOutlet::status, message);
    m_surface.displayStatusView();
}

void MainController::switchStatus(const QStringList &messages)
{
    for (const QString &message : messages)
        switchStatus(message);
}

void MainController::handleStatusChange(const QVariantMap &userInfo)
{
    // Both senders always include the message; anything else leaves the line as it is.
    if (userInfo.contains(QVStatusKey))
        switchStatus(userInfo.value(QVStatusKey).toString());
}

int MainController::numberOfRowsInTableView(TableOutlet table) const { return m_session.rowCount(listOf(table)); }

std::optional<QString> MainController::objectValueForTableColumn(TableOutlet table, const QString &column,
                                                                  int row) const
{
    return model(table)->cellValue(row, model(table)->columnIndex(column));
}

void MainController::setObjectValue(TableOutlet table, const QString &value, const QString &column, int row)
{
    if (!jobRunning())
        model(table)->setCellText(row, model(table)->columnIndex(column), value);
}

void MainController::tableViewSelectionDidChange(TableOutlet table)
{
    if (table == TableOutlet::resultTableView && m_session.chooseAlbum(m_surface.selectedRow(table)))
        showChosenAlbum();
}

QStringList MainController::draggedTypes(TableOutlet table) const
{
    // In their order of preference: a drop carrying several is taken as the first.
    if (table == TableOutlet::fileListView)
        return {TableDragData::fileNamesDragType, TableDragData::rowDragType, TableDragData::trackDragType};
    return table == TableOutlet::trackListView ? QStringList{TableDragData::rowDragType} : QStringList();
}

QMimeData *MainController::writeRowsWithIndexes(TableOutlet table, const QList<int> &rows) const
{
    return TableDragData::rows(this, int(table), rows);
}

std::optional<TableDragData::Drop> MainController::dropOnto(TableOutlet table, const QMimeData *data) const
{
    if (jobRunning())
        return std::nullopt;
    return TableDragData::dropOnto(data, draggedTypes(table), this, int(table), numberOfRowsInTableView(table));
}

Qt::DropAction MainController::validateDrop(TableOutlet table, const QMimeData *data) const
{
    const std::optional<TableDragData::Drop> drop = dropOnto(table, data);
    return !drop ? Qt::IgnoreAction : drop->movesRows() ? Qt::MoveAction : Qt::CopyAction;
}

bool MainController::acceptDrop(TableOutlet table, const QMimeData *data, int row)
{
    const std::optional<TableDragData::Drop> drop = dropOnto(table, data);
    if (!drop || (drop->movesRows() && (row < 0 || row > numberOfRowsInTableView(table))))
        return false;
    // Files always go in after the last row; the list is sorted by path anyway.
    if (drop->movesRows())
        m_session.moveRows(listOf(table), drop->rows, row);
    else if (const QStringList leftOut = m_session.addFiles(TableDragData::localFiles(data, drop->type)); !leftOut.isEmpty())
        switchStatus(StatusText::filesLeftOut(leftOut));
    refreshTableView(table);
    if (!drop->movesRows())
        writeTagsFromFilesInTableViews();
    updatePreview();
    return true;
}

void MainController::keyDown(int key)
{
    const std::optional<TableOutlet> table = m_surface.firstResponderTable();
    if ((key != Qt::Key_Backspace && key != Qt::Key_Delete) || jobRunning() || !table)
        return;
    const QList<int> rows = m_surface.selectedRows(*table);
    if (numberOfRowsInTableView(*table) == 0 || rows.isEmpty())
        return;
    m_session.removeRows(listOf(*table), rows);
    refreshTableView(*table);
}

std::shared_ptr<ResultEntry> MainController::albumForFiles(const QString &verb, void (MainController::*command)())
{
    if (jobRunning())
        return nullptr;
    if (m_lookups->isBusy()) {
        m_lookups->whenIdle([this, command] { (this->*command)(); });
        return nullptr;
    }
    std::shared_ptr<ResultEntry> album = m_session.albumToTag(m_surface.selectedRow(TableOutlet::resultTableView));
    if (const std::optional<QString> refusal = m_session.whyNotPairFiles(verb, album.get())) {
        switchStatus(*refusal);
        return nullptr;
    }
    return album;
}

void MainController::processTagging()
{
    const std::shared_ptr<ResultEntry> album = albumForFiles(QStringLiteral("tag"), &MainController::processTagging);
    if (!album)
        return;
    const qsizetype count = m_session.files()->size();
    switchStatus(StatusText::taggingStarted(count, numberOfRowsInTableView(TableOutlet::trackListView)));
    album->setCover(m_surface.image());
    m_jobs->start<FileOutcome>(m_session.tagging(*album), [this, count](const FileOutcome &outcome) {
        reportFileOutcome(QStringLiteral("Tagging"), outcome, count);
    });
}

void MainController::lineUpFiles()
{
    const std::shared_ptr<ResultEntry> album = albumForFiles(QStringLiteral("line up"), &MainController::lineUpFiles);
    if (!album)
        return;
    m_jobs->start<Lineup>(m_session.lineUp(*album), [this](const Lineup &lineup) {
        if (!m_session.takeLineup(lineup))
            return;
        model(TableOutlet::fileListView)->reloadData();
        m_surface.setNeedsDisplay(TableOutlet::fileListView);
        updatePreview();
        switchStatus(StatusText::linedUp(lineup.matched, lineup.order.size()));
        // Tagging pairs file row i with track row i: a free track before paired ones would
        // shift every file after it onto the wrong track.
        if (!lineup.pairsByRow()) {
            const qsizetype track = lineup.fileOfTrack.indexOf(-1);
            switchStatus(StatusText::trackLeftWithoutFile(track, m_session.tracks()->at(track)->title()));
        }
    });
}

void MainController::processRenaming()
{
    if (jobRunning())
        return;
    if (numberOfRowsInTableView(TableOutlet::fileListView) == 0)
        return switchStatus(StatusText::noFilesTo(QStringLiteral("rename")));
    switchStatus(StatusText::renamingStarted());
    m_jobs->start<Session::Renamed>(
        m_session.renaming(m_surface.stringValue(TextOutlet::renaming)), [this](const Session::Renamed &renamed) {
            m_session.setFiles(renamed.files);
            // The rows stay the same files under new names, so the selection stays too.
            model(TableOutlet::fileListView)->refreshCells();
            m_surface.setNeedsDisplay(TableOutlet::fileListView);
            reportFileOutcome(QStringLiteral("Renaming"), renamed.outcome, renamed.files.size());
        });
}

void MainController::dropTags()
{
    const QStringList files = m_session.files().value_or(QStringList());
    if (files.isEmpty() || jobRunning())
        return removeTags(files);
    // Removing tags cannot be undone: the user confirms it for exactly these files.
    m_surface.askToConfirm(StatusText::removeTagsQuestion(files.size()), QStringLiteral("Remove tags"),
                           [this, files] { removeTags(files); });
}

void MainController::removeTags(const QStringList &files)
{
    if (jobRunning())
        return;
    m_jobs->start<FileOutcome>(Session::tagRemoval(files), [this, count = files.size()](const FileOutcome &outcome) {
        reportFileOutcome(QStringLiteral("Removing tags"), outcome, count);
    });
}

void MainController::reportFileOutcome(const QString &command, const FileOutcome &outcome, qsizetype files)
{
    // The status line moves on with the next message, so failures are told apart from it.
    if (!outcome.failures.isEmpty())
        m_surface.reportFileFailures(command, outcome.failureLines());
    if (const std::optional<QString> ended = StatusText::fileCommandEnded(command, outcome, files))
        switchStatus(*ended);
}

void MainController::addAlbumInformation()
{
    QList<std::optional<QString>> values;
    for (TextOutlet field : albumFields)
        values.append(m_surface.stringValue(field));
    if (!jobRunning())
        generateNewAlbumEntryForArtist(values[0], values[1], values[2], values[3], values[4], values[5], values[6]);
}

void MainController::addTrackItem()
{
    if (!jobRunning())
        generateNewTrackItem(m_surface.stringValue(TextOutlet::trackTitle),
                             m_surface.stringValue(TextOutlet::trackArtist));
}

void MainController::generateNewAlbumEntryForArtist(
    const std::optional<QString> &artist, const std::optional<QString> &album, const std::optional<QString> &year,
    const std::optional<QString> &genre, const std::optional<QString> &label, const std::optional<QString> &tracks,
    const std::optional<QString> &discs)
{
    m_session.addAlbum(artist, album, year, genre, label, tracks, discs);
    refreshTableView(TableOutlet::resultTableView);
    clearAdditionalDetails();
}

void MainController::generateNewTrackItem(const std::optional<QString> &title, const std::optional<QString> &artist)
{
    m_session.addTrack(title, artist);
    refreshTableView(TableOutlet::trackListView);
    clearAdditionalDetails();
}

void MainController::clearAdditionalDetails()
{
    for (TextOutlet field : albumFields + QList<TextOutlet>{TextOutlet::trackTitle})
        m_surface.setStringValue(field, QString());
}

void MainController::writeTagsFromFilesInTableViews()
{
    if (!m_session.awaitsAlbumFromTags() || jobRunning())
        return;
    m_jobs->start<FileTagsAlbum>(m_session.readingFileTags(), [this](const FileTagsAlbum &tags) {
        m_session.takeFileTagsAlbum(tags);
        if (tags.album) {
            refreshTableView(TableOutlet::resultTableView);
            refreshTableView(TableOutlet::trackListView);
            clearAdditionalDetails();
            m_surface.setStringValue(TextOutlet::keywords, tags.keywords);
        }
        if (tags.cover)
            m_surface.setImage(tags.cover);
    });
}

void MainController::updatePreview()
{
    m_surface.setStringValue(TextOutlet::preview, m_session.preview(m_surface.stringValue(TextOutlet::renaming)));
}

void MainController::saveRenamingMask()
{
    UserDefaults::setValue(QVRenamingMaskKey, m_surface.stringValue(TextOutlet::renaming));
}
