#pragma once

#include "common/NotificationCenter.h"
#include "search/ResultEntry.h"
#include "search/ServiceConfig.h"
#include "window/RowEdits.h"
#include "window/WindowSurface.h"

#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>

class QMimeData;
class ControllerTableModel;

// The user-defaults key of the renaming mask.
inline const QString QVRenamingMaskKey = QStringLiteral("LastUserRenamingMask");

// The controller of the window: owns the albums found, the tracks shown and the files
// listed, feeds the three tables, takes drops and the delete keys, runs the commands behind
// the buttons and shows the status line. Works through a WindowSurface, never a widget.
class MainController {
public:
    // Drag types: local file URLs, rows dragged inside the window, a music library's tracks.
    static const QString fileNamesDragType;
    static const QString privateTableViewDataType;
    static const QString trackDragType;

    MainController(WindowSurface &surface, ServiceConfig config);
    ~MainController();
    MainController(const MainController &) = delete;
    MainController &operator=(const MainController &) = delete;

    // Registers the user defaults ("LastUserRenamingMask" = "%n - %t"); runs once.
    static void initialize();
    // A user default: the stored value, else the registered one.
    static QVariant userDefault(const QString &key);

    // Start-up once the window's controls exist.
    void awakeFromNib();

    // Actions of the buttons.
    void getSearchResult();
    void clearAll();
    void clearFiles();
    void processTagging();
    void processRenaming();
    // Asks the user to confirm, then removes the tags of the files listed at the time.
    void dropTags();
    void removeTags(const QStringList &files);
    void addAlbumInformation();
    void addTrackItem();

    // The lists themselves (not copies); null or empty optional when absent.
    const ResultListPtr &resultList() const { return m_resultList; }
    const TrackListPtr &trackItems() const { return m_trackItems; }
    const std::optional<QStringList> &songs() const { return m_songs; }

    const ServiceConfig &serviceConfig() const { return m_config; }
    void setServiceConfig(ServiceConfig config) { m_config = std::move(config); }

    // Status line.
    void switchStatus(const QString &message);
    void handleStatusChange(const QVariantMap &userInfo);

    void clearTableViewsAndDataSources();
    void clearDetails();
    void refreshTableView(TableOutlet table);

    // Table data.
    ControllerTableModel *model(TableOutlet table) const;
    int numberOfRowsInTableView(TableOutlet table) const;
    std::optional<QString> objectValueForTableColumn(TableOutlet table, const QString &column, int row) const;
    void setObjectValue(TableOutlet table, const QString &value, const QString &column, int row);
    void tableViewSelectionDidChange(TableOutlet table);

    // Drag and drop. The drag data names the window and the table the rows come from.
    QStringList draggedTypes(TableOutlet table) const;
    QMimeData *writeRowsWithIndexes(TableOutlet table, const QList<int> &rows) const;
    Qt::DropAction validateDrop(TableOutlet table, const QMimeData *data) const;
    bool acceptDrop(TableOutlet table, const QMimeData *data, int row);

    // Delete keys: remove the selected rows of the focused table.
    void keyDown(int key);
    template <typename T>
    void deleteSelectedRowsInTableView(TableOutlet table, QList<T> &list);

    // Albums and tracks by hand or from file tags; preview and stored mask.
    void generateNewAlbumEntryForArtist(const std::optional<QString> &artist, const std::optional<QString> &album,
                                        const std::optional<QString> &year, const std::optional<QString> &genre,
                                        const std::optional<QString> &label, const std::optional<QString> &tracks,
                                        const std::optional<QString> &discs);
    void generateNewTrackItem(const std::optional<QString> &title, const std::optional<QString> &artist);
    void clearAdditionalDetails();
    void writeTagsFromFilesInTableViews();
    void updatePreview();
    void saveRenamingMask();
    void controlTextDidChange();
    void controlTextDidEndEditing();

private:
    // The drag type a drop on this table is taken as: the first of the table's own types
    // (in their order of preference) that the data carries; empty when none.
    QString chosenDragType(TableOutlet table, const QMimeData *data) const;
    // The rows of a row drag when they come from this very table and lie inside its list.
    std::optional<QList<int>> draggedRowsForTable(TableOutlet table, const QMimeData *data) const;
    void acceptFileDrop(const QString &type, const QMimeData *data, int row);
    // Shows this album's tracks and cover (none for no album).
    void showAlbum(const std::shared_ptr<ResultEntry> &album);
    void showFirstAlbumIfNoneIsChosen();
    QString storefrontCode() const;
    // Runs one file command, then reports the files it could not change, if any.
    template <typename Command>
    void reportingFileFailures(const QString &command, Command run);

    WindowSurface &m_surface;
    ServiceConfig m_config;
    ResultListPtr m_resultList;
    TrackListPtr m_trackItems;
    std::optional<QStringList> m_songs;
    // The album whose own tracks and cover are on show; null while they were typed in or
    // read from files, or nothing is shown.
    std::shared_ptr<ResultEntry> m_shownAlbum;
    std::unique_ptr<ControllerTableModel> m_albumModel;
    std::unique_ptr<ControllerTableModel> m_trackModel;
    std::unique_ptr<ControllerTableModel> m_fileModel;
    std::unique_ptr<ScopedObserver> m_statusObserver;
    std::unique_ptr<ScopedObserver> m_failureObserver;
    QStringList m_fileFailures;
    // Drag types each table accepts, in order of preference; registered at start-up.
    QStringList m_draggedTypes[3];
};

template <typename T>
void MainController::deleteSelectedRowsInTableView(TableOutlet table, QList<T> &list)
{
    const QList<int> rows = m_surface.selectedRows(table);
    if (rows.isEmpty())
        return;
    removeRows(list, rows);
    refreshTableView(table);
}
