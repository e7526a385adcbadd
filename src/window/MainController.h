#pragma once

#include "common/QueuedObserver.h"
#include "search/ServiceConfig.h"
#include "session/Session.h"
#include "session/SessionJobs.h"
#include "session/UserDefaults.h"
#include "window/WindowSurface.h"

#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>

class QMimeData;
class ControllerTableModel;

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

    const Session &session() const { return m_session; }

    bool jobRunning() const { return m_jobs->isBusy(); }
    // Asks the running job to stop after the current file or page.
    void cancelJob() { m_jobs->runner().cancel(); }
    // Blocks until the running job has returned and its results and status lines are shown.
    void waitForJob() { m_jobs->runner().waitForFinished(); }
    // The session's lists themselves (not copies); null or empty optional when absent.
    const ResultListPtr &resultList() const { return m_session.albums(); }
    const TrackListPtr &trackItems() const { return m_session.tracks(); }
    const std::optional<QStringList> &songs() const { return m_session.files(); }

    const ServiceConfig &serviceConfig() const { return m_config; }
    void setServiceConfig(ServiceConfig config) { m_config = std::move(config); }

    // Status line.
    void switchStatus(const QString &message);
    void handleStatusChange(const QVariantMap &userInfo);

    void clearTableViewsAndDataSources();
    void clearDetails() { m_surface.setImage(std::nullopt); }
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
    void switchStatus(const QStringList &messages);
    // Tells the user of the files a command could not change, if any, then how it ended.
    void reportFileOutcome(const QString &command, const FileOutcome &outcome, qsizetype files);
    // Shows the chosen album's own cover, or none, and the tracks on show.
    void showChosenAlbum();

    WindowSurface &m_surface;
    ServiceConfig m_config;
    Session m_session;
    std::unique_ptr<ControllerTableModel> m_albumModel;
    std::unique_ptr<ControllerTableModel> m_trackModel;
    std::unique_ptr<ControllerTableModel> m_fileModel;
    std::unique_ptr<SessionJobs> m_jobs;
    std::unique_ptr<QueuedObserver> m_statusObserver;
};
