#include "window/MainController.h"

#include "common/StatusNotification.h"
#include "files/FileFailureNotification.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "search/IntValue.h"
#include "search/SearchEngine.h"
#include "window/AlbumTableModel.h"
#include "window/FileTableModel.h"
#include "window/TrackCountNote.h"
#include "window/TrackDragPropertyList.h"
#include "window/TrackTableModel.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <algorithm>
#include <cxxabi.h>
#include <mutex>
#include <stdexcept>
#include <typeinfo>

const QString MainController::fileNamesDragType = QStringLiteral("text/uri-list");
const QString MainController::privateTableViewDataType = QStringLiteral("MyPrivateTableViewDataType");
const QString MainController::trackDragType = QStringLiteral("CorePasteboardFlavorType 0x6974756E");

namespace {

QVariantMap &registeredDefaults()
{
    static QVariantMap defaults;
    return defaults;
}

QSettings userSettings()
{
    return QSettings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
}

// The element at a row, or a range failure naming the row, for the guarded cell lookup.
template <typename List>
const typename List::value_type &elementAt(const List *list, int row)
{
    if (!list)
        throw std::out_of_range(QStringLiteral("row %1 of a table without a list").arg(row).toStdString());
    if (row < 0 || row >= list->size())
        throw std::out_of_range(QStringLiteral("row %1 outside a list of %2 entries")
                                    .arg(row).arg(list->size()).toStdString());
    return list->at(row);
}

QString exceptionName(const std::exception &exception)
{
    int status = 0;
    char *demangled = abi::__cxa_demangle(typeid(exception).name(), nullptr, nullptr, &status);
    const QString name = QString::fromLatin1(status == 0 && demangled ? demangled : typeid(exception).name());
    std::free(demangled);
    return name;
}

std::optional<QString> textFor(const QVariantMap &tags, const QString &key)
{
    if (!tags.contains(key))
        return std::nullopt;
    return tags.value(key).toString();
}

// The local file a dragged URL names. Music players write "file://localhost/..." for
// "file:///..."; a file URL naming another host is a network share, no local file.
std::optional<QString> localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    QUrl local(url);
    if (local.host() == u"localhost")
        local.setHost(QString());
    if (!local.host().isEmpty())
        return std::nullopt;
    return local.toLocalFile();
}

int tableIndex(TableOutlet table)
{
    return static_cast<int>(table);
}

} // namespace

MainController::MainController(WindowSurface &surface, ServiceConfig config)
    : m_surface(surface), m_config(std::move(config)),
      m_albumModel(std::make_unique<AlbumTableModel>(*this)),
      m_trackModel(std::make_unique<TrackTableModel>(*this)),
      m_fileModel(std::make_unique<FileTableModel>(*this))
{
    initialize();
}

MainController::~MainController() = default;

void MainController::initialize()
{
    static std::once_flag once;
    std::call_once(once, [] { registeredDefaults().insert(QVRenamingMaskKey, QStringLiteral("%n - %t")); });
}

QVariant MainController::userDefault(const QString &key)
{
    initialize();
    return userSettings().value(key, registeredDefaults().value(key));
}

void MainController::awakeFromNib()
{
    m_draggedTypes[tableIndex(TableOutlet::fileListView)] = {fileNamesDragType, privateTableViewDataType, trackDragType};
    m_draggedTypes[tableIndex(TableOutlet::trackListView)] = {privateTableViewDataType};
    m_draggedTypes[tableIndex(TableOutlet::resultTableView)] = {};
    m_surface.setStringValue(TextOutlet::renaming, userDefault(QVRenamingMaskKey).toString());
    m_statusObserver = std::make_unique<ScopedObserver>(
        QVStatusChangedNotification,
        [this](const QString &, const void *, const QVariantMap &userInfo) { handleStatusChange(userInfo); });
    m_failureObserver = std::make_unique<ScopedObserver>(
        QVFileFailedNotification, [this](const QString &, const void *, const QVariantMap &userInfo) {
            m_fileFailures.append(QStringLiteral("%1: %2").arg(userInfo.value(QVFailedPathKey).toString(),
                                                                userInfo.value(QVFailureReasonKey).toString()));
        });
    switchStatus(QStringLiteral("Waiting for user input..."));
}

// --- search and clearing -------------------------------------------------------------

void MainController::getSearchResult()
{
    const QString keywords = m_surface.stringValue(TextOutlet::keywords);
    if (keywords.isEmpty())
        return;
    clearTableViewsAndDataSources();
    switchStatus(QStringLiteral("Starting amazon database searching..."));
    const QString engine = storefrontCode();
    std::optional<QString> failure;
    {
        SearchEngine searchEngine(m_config);
        const SearchOutcome outcome = searchEngine.buildSearchResultFromKeywords(keywords, engine);
        m_resultList = outcome.albums;
        failure = outcome.failureStatus();
    }
    refreshTableView(TableOutlet::resultTableView);
    if (numberOfRowsInTableView(TableOutlet::resultTableView) > 0)
        m_surface.selectRow(TableOutlet::resultTableView, 0);
    switchStatus(QStringLiteral("Finished amazon database searching. %1 entries processed.")
                     .arg(m_resultList ? m_resultList->size() : 0));
    if (failure)
        switchStatus(*failure);
}

QString MainController::storefrontCode() const
{
    switch (m_surface.selectedTag()) {
    case 1: return QStringLiteral("de");
    case 2: return QStringLiteral("co.uk");
    case 3: return QStringLiteral("fr");
    case 4: return QStringLiteral("com");
    default: return QString();
    }
}

void MainController::clearAll()
{
    clearTableViewsAndDataSources();
    m_songs.reset();
    refreshTableView(TableOutlet::fileListView);
    m_surface.setStringValue(TextOutlet::keywords, QString());
    switchStatus(QStringLiteral("Waiting for user input..."));
}

void MainController::clearFiles()
{
    m_songs.reset();
    refreshTableView(TableOutlet::fileListView);
    switchStatus(QStringLiteral("Waiting for user input..."));
}

void MainController::clearTableViewsAndDataSources()
{
    m_resultList.reset();
    m_trackItems.reset();
    refreshTableView(TableOutlet::resultTableView);
    refreshTableView(TableOutlet::trackListView);
    clearDetails();
}

void MainController::clearDetails()
{
    m_surface.setImage(std::nullopt);
}

void MainController::refreshTableView(TableOutlet table)
{
    model(table)->reloadData();
    m_surface.setNeedsDisplay(table);
    m_surface.deselectAll(table);
    // Resetting the model drops the selection without telling the selection's observers.
    if (table == TableOutlet::resultTableView)
        showFirstAlbumIfNoneIsChosen();
}

// --- status line ---------------------------------------------------------------------

void MainController::switchStatus(const QString &message)
{
    m_surface.setStringValue(TextOutlet::status, message);
    m_surface.displayStatusView();
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
    case TableOutlet::fileListView: return m_fileModel.get();
    }
    return nullptr;
}

int MainController::numberOfRowsInTableView(TableOutlet table) const
{
    switch (table) {
    case TableOutlet::resultTableView: return m_resultList ? int(m_resultList->size()) : 0;
    case TableOutlet::trackListView: return m_trackItems ? int(m_trackItems->size()) : 0;
    case TableOutlet::fileListView: return m_songs ? int(m_songs->size()) : 0;
    }
    return 0;
}

std::optional<QString> MainController::objectValueForTableColumn(TableOutlet table, const QString &column,
                                                                  int row) const
{
    try {
        switch (table) {
        case TableOutlet::fileListView:
            return QFileInfo(elementAt(m_songs ? &*m_songs : nullptr, row)).fileName();
        case TableOutlet::resultTableView: {
            const ResultEntry &album = *elementAt(m_resultList.get(), row);
            if (column == u"artistName")
                return album.artistName();
            if (column == u"albumName")
                return album.albumName();
            if (column == u"numberOfTracks")
                return QString::number(album.numberOfTracks());
            if (column == u"yearOfPublication")
                return album.yearOfPublication();
            if (column == u"label")
                return album.label();
            if (column == u"genre")
                return album.genre();
            if (column == u"numberOfDiscs")
                return QString::number(album.numberOfDiscs());
            return std::nullopt;
        }
        case TableOutlet::trackListView: {
            if (column == TrackTableModel::numberColumn) {
                elementAt(m_trackItems.get(), row);
                return QString::number(row + 1);
            }
            const Track &track = *elementAt(m_trackItems.get(), row);
            return column == TrackTableModel::titleColumn ? track.title() : track.artist();
        }
        }
    } catch (const std::exception &exception) {
        qWarning().noquote() << QStringLiteral("MainController:tableView:objectValueForTableColumn:row: Caught %1: %2")
                                    .arg(exceptionName(exception), QString::fromUtf8(exception.what()));
    }
    return std::nullopt;
}

void MainController::setObjectValue(TableOutlet table, const QString &value, const QString &column, int row)
{
    if (row < 0 || row >= numberOfRowsInTableView(table))
        return;
    if (table == TableOutlet::trackListView) {
        // Only the title and artist columns name a field; an edit for any other changes nothing.
        Track &track = *m_trackItems->at(row);
        if (column == TrackTableModel::titleColumn)
            track.setTitle(value);
        else if (column == TrackTableModel::artistColumn)
            track.setArtist(value);
    } else if (table == TableOutlet::resultTableView) {
        m_resultList->at(row)->setValue(value, column);
    }
}

void MainController::tableViewSelectionDidChange(TableOutlet table)
{
    if (table != TableOutlet::resultTableView)
        return;
    const int row = m_surface.selectedRow(TableOutlet::resultTableView);
    const int albums = numberOfRowsInTableView(TableOutlet::resultTableView);
    if (row < 0 || row >= albums) {
        showFirstAlbumIfNoneIsChosen();
        return;
    }
    // A single album whose tracks are on show (typed in or read from files) keeps them.
    if (albums < 2 && !(albums == 1 && numberOfRowsInTableView(TableOutlet::trackListView) == 0))
        return;
    showAlbum(m_resultList->at(row));
}

void MainController::showAlbum(const std::shared_ptr<ResultEntry> &album)
{
    m_shownAlbum = album;
    m_trackItems = album ? album->trackList() : nullptr;
    // The cover view shows the album's own cover, or none: tagging writes whatever it
    // shows, so it must never keep the cover of an album chosen before.
    m_surface.setImage(album ? album->cover() : std::nullopt);
    refreshTableView(TableOutlet::trackListView);
}

void MainController::showFirstAlbumIfNoneIsChosen()
{
    // With no album chosen, tagging writes the first one, so an album's tracks and cover on
    // show must be the first album's. Tracks typed in or read from files belong to no
    // album and stay.
    if (!m_shownAlbum)
        return;
    const std::shared_ptr<ResultEntry> first =
        m_resultList && !m_resultList->isEmpty() ? m_resultList->first() : nullptr;
    if (m_shownAlbum != first)
        showAlbum(first);
}

// --- drag and drop -------------------------------------------------------------------

QStringList MainController::draggedTypes(TableOutlet table) const
{
    return m_draggedTypes[tableIndex(table)];
}

QMimeData *MainController::writeRowsWithIndexes(TableOutlet table, const QList<int> &rows) const
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << quint64(reinterpret_cast<quintptr>(this)) << qint32(tableIndex(table)) << rows;
    auto *data = new QMimeData;
    data->setData(privateTableViewDataType, bytes);
    return data;
}

QString MainController::chosenDragType(TableOutlet table, const QMimeData *data) const
{
    for (const QString &type : draggedTypes(table))
        if (data->hasFormat(type))
            return type;
    return QString();
}

std::optional<QList<int>> MainController::draggedRowsForTable(TableOutlet table, const QMimeData *data) const
{
    QDataStream stream(data->data(privateTableViewDataType));
    quint64 source = 0;
    qint32 sourceTable = -1;
    QList<int> rows;
    stream >> source >> sourceTable >> rows;
    // Rows are positions in the table they were dragged from; in any other list they
    // would name other entries, or none.
    if (stream.status() != QDataStream::Ok || source != quint64(reinterpret_cast<quintptr>(this))
        || sourceTable != tableIndex(table) || rows.isEmpty()
        || !rowsInside(rows, numberOfRowsInTableView(table)))
        return std::nullopt;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

Qt::DropAction MainController::validateDrop(TableOutlet table, const QMimeData *data) const
{
    const QString type = chosenDragType(table, data);
    if (type.isEmpty())
        return Qt::IgnoreAction;
    if (type == privateTableViewDataType)
        return draggedRowsForTable(table, data) ? Qt::MoveAction : Qt::IgnoreAction;
    return Qt::CopyAction;
}

bool MainController::acceptDrop(TableOutlet table, const QMimeData *data, int row)
{
    const QString type = chosenDragType(table, data);
    if (type.isEmpty())
        return false;
    if (type == privateTableViewDataType) {
        const std::optional<QList<int>> rows = draggedRowsForTable(table, data);
        if (!rows || row < 0 || row > numberOfRowsInTableView(table))
            return false;
        if (table == TableOutlet::fileListView)
            moveRows(*m_songs, *rows, row);
        else
            moveRows(*m_trackItems, *rows, row);
    } else {
        acceptFileDrop(type, data, row);
    }
    refreshTableView(table);
    updatePreview();
    return true;
}

void MainController::acceptFileDrop(const QString &type, const QMimeData *data, int)
{
    if (!m_songs)
        m_songs.emplace();

    QList<QUrl> urls;
    if (type == fileNamesDragType) {
        urls = data->urls();
    } else {
        for (const QString &location : TrackDragPropertyList::locations(data->data(trackDragType)))
            urls.append(QUrl(location));
    }
    QStringList candidates;
    for (const QUrl &url : urls)
        if (const std::optional<QString> path = localPath(url))
            candidates.append(*path);

    // Files always go in after the last row; the sort below decides their place anyway.
    qsizetype index = m_songs->size();
    auto insertIfMp3 = [&](const QString &path) {
        if (QFileInfo(path).suffix() == u"mp3")
            m_songs->insert(index++, path);
    };
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isDir()) {
            const QDir folder(candidate);
            const QStringList entries =
                folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
            for (const QString &entry : entries)
                insertIfMp3(folder.filePath(entry));
        } else {
            insertIfMp3(candidate);
        }
    }
    std::stable_sort(m_songs->begin(), m_songs->end());
    writeTagsFromFilesInTableViews();
}

// --- row deletion --------------------------------------------------------------------

void MainController::keyDown(int key)
{
    if (key != Qt::Key_Backspace && key != Qt::Key_Delete)
        return;
    const std::optional<TableOutlet> table = m_surface.firstResponderTable();
    if (!table)
        return;
    switch (*table) {
    case TableOutlet::fileListView:
        if (m_songs)
            deleteSelectedRowsInTableView(*table, *m_songs);
        break;
    case TableOutlet::trackListView:
        if (m_trackItems)
            deleteSelectedRowsInTableView(*table, *m_trackItems);
        break;
    case TableOutlet::resultTableView:
        if (m_resultList)
            deleteSelectedRowsInTableView(*table, *m_resultList);
        break;
    }
}

// --- file commands -------------------------------------------------------------------

void MainController::processTagging()
{
    if (!m_songs || m_songs->isEmpty()) {
        switchStatus(QStringLiteral("Nothing to tag: no files listed."));
        return;
    }
    if (!m_resultList || m_resultList->isEmpty()) {
        switchStatus(QStringLiteral("Nothing to tag: no album listed."));
        return;
    }
    if (const QString note = trackCountNote(m_songs->size(), m_trackItems ? m_trackItems->size() : 0); !note.isEmpty())
        switchStatus(note);
    switchStatus(QStringLiteral("Tagging files now..."));
    m_surface.setButtonEnabled(ButtonOutlet::tagButton, false);
    const int row = m_surface.selectedRow(TableOutlet::resultTableView);
    ResultEntry &album = *m_resultList->at(row >= 0 && row < m_resultList->size() ? row : 0);
    album.setCover(m_surface.image());
    reportingFileFailures(QStringLiteral("Tagging"), [&] { FileHandler().tagFiles(*m_songs, m_trackItems, album); });
    m_surface.setButtonEnabled(ButtonOutlet::tagButton, true);
    switchStatus(QStringLiteral("Tagging files finished..."));
}

void MainController::processRenaming()
{
    if (!m_songs || m_songs->isEmpty()) {
        switchStatus(QStringLiteral("Nothing to rename: no files listed."));
        return;
    }
    switchStatus(QStringLiteral("Renaming files now..."));
    m_surface.setButtonEnabled(ButtonOutlet::renameButton, false);
    reportingFileFailures(QStringLiteral("Renaming"),
                          [&] { FileHandler().renameFiles(*m_songs, m_surface.stringValue(TextOutlet::renaming)); });
    // The rows stay the same files under new names, so the selection stays too.
    m_fileModel->refreshCells();
    m_surface.setNeedsDisplay(TableOutlet::fileListView);
    m_surface.setButtonEnabled(ButtonOutlet::renameButton, true);
    switchStatus(QStringLiteral("Renaming files finished..."));
}

void MainController::dropTags()
{
    const QStringList files = m_songs.value_or(QStringList());
    if (files.isEmpty()) {
        removeTags(files);
        return;
    }
    // Removing tags cannot be undone: the user confirms it for exactly these files.
    m_surface.askToConfirm(files.size() == 1
                               ? QStringLiteral("Remove the ID3 tags of 1 file? Its title, album, artist and "
                                                "cover are lost.")
                               : QStringLiteral("Remove the ID3 tags of %1 files? Their titles, albums, artists "
                                                "and covers are lost.").arg(files.size()),
                           QStringLiteral("Remove tags"), [this, files] { removeTags(files); });
}

void MainController::removeTags(const QStringList &files)
{
    reportingFileFailures(QStringLiteral("Removing tags"), [&] { FileHandler().deleteTagsInMp3Files(files); });
}

template <typename Command>
void MainController::reportingFileFailures(const QString &command, Command run)
{
    m_fileFailures.clear();
    run();
    // The status line moves on with the next message, so failures are told apart from it.
    if (!m_fileFailures.isEmpty())
        m_surface.reportFileFailures(command, std::exchange(m_fileFailures, {}));
}

// --- albums and tracks by hand or from tags ------------------------------------------

void MainController::addAlbumInformation()
{
    generateNewAlbumEntryForArtist(m_surface.stringValue(TextOutlet::artist), m_surface.stringValue(TextOutlet::album),
                                   m_surface.stringValue(TextOutlet::publicationYear),
                                   m_surface.stringValue(TextOutlet::genre), m_surface.stringValue(TextOutlet::label),
                                   m_surface.stringValue(TextOutlet::tracks), m_surface.stringValue(TextOutlet::discs));
}

void MainController::addTrackItem()
{
    generateNewTrackItem(m_surface.stringValue(TextOutlet::trackTitle), m_surface.stringValue(TextOutlet::trackArtist));
}

void MainController::generateNewAlbumEntryForArtist(const std::optional<QString> &artist,
                                                    const std::optional<QString> &album,
                                                    const std::optional<QString> &year,
                                                    const std::optional<QString> &genre,
                                                    const std::optional<QString> &label,
                                                    const std::optional<QString> &tracks,
                                                    const std::optional<QString> &discs)
{
    if (!m_resultList)
        m_resultList = std::make_shared<ResultList>();
    auto entry = std::make_shared<ResultEntry>();
    entry->setArtistName(artist);
    entry->setAlbumName(album);
    entry->setYearOfPublication(year);
    entry->setGenre(genre);
    entry->setLabel(label);
    entry->setNumberOfTracks(intValue(tracks.value_or(QString())));
    entry->setNumberOfDiscs(intValue(discs.value_or(QString())));
    m_resultList->append(entry);
    refreshTableView(TableOutlet::resultTableView);
    clearAdditionalDetails();
}

void MainController::generateNewTrackItem(const std::optional<QString> &title, const std::optional<QString> &artist)
{
    if (!m_trackItems) {
        m_trackItems = std::make_shared<TrackList>();
        // The first track typed for an album on show starts that album's own list.
        if (m_shownAlbum)
            m_shownAlbum->setTrackList(m_trackItems);
    }
    auto track = std::make_shared<Track>();
    track->setTitle(title);
    track->setArtist(artist);
    m_trackItems->append(track);
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
    if ((m_resultList && !m_resultList->isEmpty()) || (m_trackItems && !m_trackItems->isEmpty()) || !m_songs)
        return;
    bool albumMade = false;
    bool coverShown = false;
    FileHandler handler;
    const QStringList files = *m_songs;
    for (const QString &path : files) {
        // Only the first cover found is shown; later files' covers are not decoded.
        const QVariantMap tags = handler.readMetaDataFromMp3File(
            path, coverShown ? FileHandler::CoverReading::Skip : FileHandler::CoverReading::Decode);
        if (!albumMade && !tags.isEmpty()) {
            generateNewAlbumEntryForArtist(textFor(tags, QVArtistAlbumTag), textFor(tags, QVAlbumTag),
                                           textFor(tags, QVYearTag), textFor(tags, QVGenreTag),
                                           textFor(tags, QVLabelTag), textFor(tags, QVTrackCountTag),
                                           textFor(tags, QVDiscsTag));
            // A missing artist or title leaves its place empty.
            m_surface.setStringValue(TextOutlet::keywords,
                                     QStringLiteral(" %1 %2").arg(textFor(tags, QVArtistAlbumTag).value_or(QString()),
                                                                  textFor(tags, QVAlbumTag).value_or(QString())));
            albumMade = true;
        }
        const QVariant cover = tags.value(QVCoverTag);
        if (!coverShown && cover.typeId() == QMetaType::QImage) {
            m_surface.setImage(cover.value<QImage>());
            coverShown = true;
        }
        if (tags.isEmpty())
            break;
        generateNewTrackItem(textFor(tags, QVTitleTag), textFor(tags, QVArtistTrackTag));
    }
}

// --- renaming mask -------------------------------------------------------------------

void MainController::updatePreview()
{
    m_surface.setStringValue(TextOutlet::preview,
                             FileHandler().buildPreviewForFiles(m_songs.value_or(QStringList()),
                                                                m_surface.stringValue(TextOutlet::renaming)));
}

void MainController::saveRenamingMask()
{
    userSettings().setValue(QVRenamingMaskKey, m_surface.stringValue(TextOutlet::renaming));
}

void MainController::controlTextDidChange()
{
    updatePreview();
}

void MainController::controlTextDidEndEditing()
{
    saveRenamingMask();
}
