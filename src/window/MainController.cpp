#include "window/MainController.h"

#include "common/StatusNotification.h"
#include "session/StatusText.h"
#include "session/Storefront.h"
#include "window/AlbumTableModel.h"
#include "window/FileTableModel.h"
#include "window/TableDragData.h"
#include "window/TrackTableModel.h"

#include <QMimeData>

namespace {

Session::List sessionList(TableOutlet table)
{
    switch (table) {
    case TableOutlet::resultTableView: return Session::List::albums;
    case TableOutlet::trackListView: return Session::List::tracks;
    case TableOutlet::fileListView: break;
    }
    return Session::List::files;
}

} // namespace

MainController::MainController(WindowSurface &surface, ServiceConfig config)
    : m_surface(surface), m_config(std::move(config)),
      m_albumModel(std::make_unique<AlbumTableModel>(*this, m_session)),
      m_trackModel(std::make_unique<TrackTableModel>(*this, m_session)),
      m_fileModel(std::make_unique<FileTableModel>(*this, m_session)),
      m_jobs(std::make_unique<SessionJobs>([this](bool running) { m_surface.showJobRunning(running); }))
{
    initialize();
    QObject::connect(&m_jobs->runner(), &JobRunner::progressChanged, &m_jobs->runner(),
                     [this](qint64 done, qint64 total) { m_surface.showJobProgress(done, total); });
}

MainController::~MainController()
{
    // A running job stops after its current file and is waited for; its results go nowhere.
    m_jobs.reset();
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

// --- search and clearing -------------------------------------------------------------

void MainController::getSearchResult()
{
    const QString keywords = m_surface.stringValue(TextOutlet::keywords);
    if (keywords.isEmpty() || jobRunning())
        return;
    clearTableViewsAndDataSources();
    switchStatus(StatusText::searchStarted());
    m_jobs->start<SearchOutcome>(Session::search(m_config, keywords, storefrontForTag(m_surface.selectedTag())),
                                 [this](const SearchOutcome &outcome) {
                                     m_session.setAlbums(outcome.albums);
                                     refreshTableView(TableOutlet::resultTableView);
                                     if (numberOfRowsInTableView(TableOutlet::resultTableView) > 0)
                                         m_surface.selectRow(TableOutlet::resultTableView, 0);
                                     switchStatus(StatusText::searchFinished(outcome));
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
    m_surface.setImage(m_session.shownAlbum() ? m_session.shownAlbum()->cover() : std::nullopt);
    refreshTableView(TableOutlet::trackListView);
}

// --- status line ---------------------------------------------------------------------

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

// --- table data ----------------------------------------------------------------------

ControllerTableModel *MainController::model(TableOutlet table) const
{
    switch (table) {
    case TableOutlet::resultTableView: return m_albumModel.get();
    case TableOutlet::trackListView: return m_trackModel.get();
    case TableOutlet::fileListView: break;
    }
    return m_fileModel.get();
}

int MainController::numberOfRowsInTableView(TableOutlet table) const
{
    return m_session.rowCount(sessionList(table));
}

std::optional<QString> MainController::objectValueForTableColumn(TableOutlet table, const QString &column,
                                                                  int row) const
{
    return model(table)->cellValue(row, model(table)->columnIndex(column));
}

void MainController::setObjectValue(TableOutlet table, const QString &value, const QString &column, int row)
{
    if (jobRunning())
        return;
    model(table)->setCellText(row, model(table)->columnIndex(column), value);
}

void MainController::tableViewSelectionDidChange(TableOutlet table)
{
    if (table == TableOutlet::resultTableView && m_session.chooseAlbum(m_surface.selectedRow(table)))
        showChosenAlbum();
}

// --- drag and drop -------------------------------------------------------------------

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

Qt::DropAction MainController::validateDrop(TableOutlet table, const QMimeData *data) const
{
    const QString type = TableDragData::firstCarried(data, draggedTypes(table));
    if (type.isEmpty() || jobRunning())
        return Qt::IgnoreAction;
    if (type != TableDragData::rowDragType)
        return Qt::CopyAction;
    return TableDragData::rowsFor(data, this, int(table), numberOfRowsInTableView(table)) ? Qt::MoveAction
                                                                                          : Qt::IgnoreAction;
}

bool MainController::acceptDrop(TableOutlet table, const QMimeData *data, int row)
{
    const QString type = TableDragData::firstCarried(data, draggedTypes(table));
    if (type.isEmpty() || jobRunning())
        return false;
    if (type == TableDragData::rowDragType) {
        const std::optional<QList<int>> rows =
            TableDragData::rowsFor(data, this, int(table), numberOfRowsInTableView(table));
        if (!rows || row < 0 || row > numberOfRowsInTableView(table))
            return false;
        m_session.moveRows(sessionList(table), *rows, row);
        refreshTableView(table);
    } else {
        // Files always go in after the last row; the list is sorted by path anyway.
        m_session.addFiles(TableDragData::localFiles(data, type));
        refreshTableView(table);
        writeTagsFromFilesInTableViews();
    }
    updatePreview();
    return true;
}

// --- row deletion --------------------------------------------------------------------

void MainController::keyDown(int key)
{
    if ((key != Qt::Key_Backspace && key != Qt::Key_Delete) || jobRunning())
        return;
    const std::optional<TableOutlet> table = m_surface.firstResponderTable();
    if (!table || numberOfRowsInTableView(*table) == 0)
        return;
    const QList<int> rows = m_surface.selectedRows(*table);
    if (rows.isEmpty())
        return;
    m_session.removeRows(sessionList(*table), rows);
    refreshTableView(*table);
}

// --- file commands -------------------------------------------------------------------

void MainController::processTagging()
{
    if (jobRunning())
        return;
    if (numberOfRowsInTableView(TableOutlet::fileListView) == 0) {
        switchStatus(StatusText::noFilesTo(QStringLiteral("tag")));
        return;
    }
    const std::shared_ptr<ResultEntry> album =
        m_session.albumToTag(m_surface.selectedRow(TableOutlet::resultTableView));
    if (!album) {
        switchStatus(StatusText::noAlbumToTag());
        return;
    }
    const qsizetype count = m_session.files()->size();
    switchStatus(StatusText::taggingStarted(count, numberOfRowsInTableView(TableOutlet::trackListView)));
    album->setCover(m_surface.image());
    m_jobs->start<FileOutcome>(m_session.tagging(*album), [this, count](const FileOutcome &outcome) {
            reportFileOutcome(QStringLiteral("Tagging"), outcome, count);
        });
}

void MainController::processRenaming()
{
    if (jobRunning())
        return;
    if (numberOfRowsInTableView(TableOutlet::fileListView) == 0) {
        switchStatus(StatusText::noFilesTo(QStringLiteral("rename")));
        return;
    }
    switchStatus(StatusText::renamingStarted());
    m_jobs->start<Session::Renamed>(
        m_session.renaming(m_surface.stringValue(TextOutlet::renaming)), [this](const Session::Renamed &renamed) {
            m_session.setFiles(renamed.files);
            // The rows stay the same files under new names, so the selection stays too.
            m_fileModel->refreshCells();
            m_surface.setNeedsDisplay(TableOutlet::fileListView);
            reportFileOutcome(QStringLiteral("Renaming"), renamed.outcome, renamed.files.size());
        });
}

void MainController::dropTags()
{
    if (jobRunning())
        return;
    const QStringList files = m_session.files().value_or(QStringList());
    if (files.isEmpty()) {
        removeTags(files);
        return;
    }
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

// --- albums and tracks by hand or from tags ------------------------------------------

void MainController::addAlbumInformation()
{
    if (jobRunning())
        return;
    generateNewAlbumEntryForArtist(m_surface.stringValue(TextOutlet::artist), m_surface.stringValue(TextOutlet::album),
                                   m_surface.stringValue(TextOutlet::publicationYear),
                                   m_surface.stringValue(TextOutlet::genre), m_surface.stringValue(TextOutlet::label),
                                   m_surface.stringValue(TextOutlet::tracks), m_surface.stringValue(TextOutlet::discs));
}

void MainController::addTrackItem()
{
    if (jobRunning())
        return;
    generateNewTrackItem(m_surface.stringValue(TextOutlet::trackTitle), m_surface.stringValue(TextOutlet::trackArtist));
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
    for (TextOutlet field : {TextOutlet::artist, TextOutlet::album, TextOutlet::publicationYear, TextOutlet::genre,
                             TextOutlet::label, TextOutlet::tracks, TextOutlet::discs, TextOutlet::trackTitle})
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

// --- renaming mask -------------------------------------------------------------------

void MainController::updatePreview()
{
    m_surface.setStringValue(TextOutlet::preview, m_session.preview(m_surface.stringValue(TextOutlet::renaming)));
}

void MainController::saveRenamingMask()
{
    UserDefaults::setValue(QVRenamingMaskKey, m_surface.stringValue(TextOutlet::renaming));
}

