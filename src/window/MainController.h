#pragma once

#include "common/QueuedObserver.h"
#include "search/ServiceConfig.h"
#include "session/Session.h"
#include "session/SessionJobs.h"
#include "session/UserDefaults.h"
#include "window/ControllerTableModel.h"
#include "window/TableDragData.h"
#include "window/WindowSurface.h"

#include <QStringList>
#include <QVariantMap>
#include <array>
#include <memory>
#include <optional>

class QMimeData;

// The window's adapter between its widgets and the session: the table models read the
// session's lists, the buttons, drops and delete keys call the session's operations, and the
// results come back as table refreshes, status lines and messages. Search, tagging, renaming,
// tag removal and reading the tags of dropped files run as jobs on a worker thread, one at a
// time, on copies of the lists; while one runs, nothing else changes the lists. Works through a
// WindowSurface, never a widget.
class MainController {
public:
    MainController(WindowSurface &surface, ServiceConfig config);
    ~MainController();
    MainController(const MainController &) = delete;
    MainController &operator=(const MainController &) = delete;

    // Registers the user defaults; runs once. A user default: stored, else registered.
    static void initialize() { UserDefaults::registerDefaults(); }
    static QVariant userDefault(const QString &key) { return UserDefaults::value(key); }
    // Start-up once the window's controls exist.
    void awakeFromNib();

    // The buttons. dropTags asks the user to confirm, then removes the tags of the files
    // listed at the time.
    void getSearchResult();
    void clearAll();
    void clearFiles();
    void processTagging();
    void processRenaming();
    void dropTags();
    void removeTags(const QStringList &files);
    void addAlbumInformation();
    void addTrackItem();

    const Session &session() const { return m_session; }
    // The session's lists themselves (not copies); null or empty optional when absent.
    const ResultListPtr &resultList() const { return m_session.albums(); }
    const TrackListPtr &trackItems() const { return m_session.tracks(); }
    const std::optional<QStringList> &songs() const { return m_session.files(); }
    const ServiceConfig &serviceConfig() const { return m_config; }
    void setServiceConfig(ServiceConfig config) { m_config = std::move(config); }

    // The running job: cancelling stops it after the current file or page; waiting blocks
    // until it has returned and its results and status lines are shown.
    bool jobRunning() const { return m_jobs->isBusy(); }
    void cancelJob() { m_jobs->runner().cancel(); }
    void waitForJob() { m_jobs->runner().waitForFinished(); }

    void switchStatus(const QString &message);
    void switchStatus(const QStringList &messages);
    void handleStatusChange(const QVariantMap &userInfo);

    void clearTableViewsAndDataSources();
    void clearDetails() { m_surface.setImage(std::nullopt); }
    void refreshTableView(TableOutlet table);

    // Table data, selection, drag and drop (the drag data names the window and the table the
    // rows come from) and the delete keys, which remove the selected rows of the focused table.
    ControllerTableModel *model(TableOutlet table) const { return m_models[size_t(table)].get(); }
    int numberOfRowsInTableView(TableOutlet table) const;
    std::optional<QString> objectValueForTableColumn(TableOutlet table, const QString &column, int row) const;
    void setObjectValue(TableOutlet table, const QString &value, const QString &column, int row);
    void tableViewSelectionDidChange(TableOutlet table);
    QStringList draggedTypes(TableOutlet table) const;
    QMimeData *writeRowsWithIndexes(TableOutlet table, const QList<int> &rows) const;
    Qt::DropAction validateDrop(TableOutlet table, const QMimeData *data) const;
    bool acceptDrop(TableOutlet table, const QMimeData *data, int row);
    void keyDown(int key);

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
    void controlTextDidChange() { updatePreview(); }
    void controlTextDidEndEditing() { saveRenamingMask(); }

private:
    // The drop the data makes onto the table; nothing while a job runs.
    std::optional<TableDragData::Drop> dropOnto(TableOutlet table, const QMimeData *data) const;
    // Tells the user of the files a command could not change, if any, then how it ended.
    void reportFileOutcome(const QString &command, const FileOutcome &outcome, qsizetype files);
    // Shows the chosen album's own cover, or none, and the tracks on show.
    void showChosenAlbum();

    WindowSurface &m_surface;
    ServiceConfig m_config;
    Session m_session;
    std::array<std::unique_ptr<ControllerTableModel>, 3> m_models; // in TableOutlet order
    std::unique_ptr<SessionJobs> m_jobs;
    std::unique_ptr<QueuedObserver> m_statusObserver;
};
