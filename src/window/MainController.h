#pragma once

#include "session/Session.h"
#include "session/UserDefaults.h"
#include "window/SessionTableModel.h"
#include "window/WindowSurface.h"

#include <array>
#include <memory>

// The window's adapter between its widgets and the session: the buttons, the album choice,
// the delete keys and the text fields call the session's commands; the session's signals come
// back as status lines, the cover, the preview and messages. The table models read the
// session's lists and take drags and drops themselves. Works through a WindowSurface, never a
// widget.
class MainController {
public:
    MainController(WindowSurface &surface, ServiceConfig config);

    // Registers the user defaults; runs once. A user default: stored, else registered.
    static void initialize() { UserDefaults::registerDefaults(); }
    static QVariant userDefault(const QString &key) { return UserDefaults::value(key); }
    // Start-up once the window's controls exist.
    void awakeFromNib();

    Session &session() { return m_session; }
    SessionTableModel *model(TableOutlet table) const { return m_models[size_t(table)].get(); }

    // The buttons. dropTags asks the user to confirm, then removes the tags of the files
    // listed at the time.
    void getSearchResult();
    void clearAll();
    void clearFiles() { m_session.clearFiles(); }
    void processTagging() { m_session.tagFiles(chosenAlbumRow()); }
    // Pairs the files with the tracks on show of the chosen album (or the first one).
    void lineUpFiles() { m_session.lineUpFiles(chosenAlbumRow()); }
    void findAlbum() { m_session.findAlbum(); }
    void processRenaming() { m_session.renameFiles(); }
    void dropTags();
    void addAlbumInformation();
    void addTrackItem();

    // The album table's choice changed; one moved there by keys is looked up once it rests.
    void tableViewSelectionDidChange(TableOutlet table, bool byKeys = false);
    // The delete keys remove the selected rows of the focused table.
    void keyDown(int key);
    // The renaming field: each edit previews, the end of an edit stores the mask.
    void controlTextDidChange();
    void controlTextDidEndEditing();
    void switchStatus(const QString &message);

private:
    int chosenAlbumRow() const { return m_surface.selectedRow(TableOutlet::resultTableView); }
    void clearAdditionalDetails();
    void connectSession();

    WindowSurface &m_surface;
    Session m_session;
    std::array<std::unique_ptr<SessionTableModel>, 3> m_models; // in TableOutlet order
};
