#include "window/MainController.h"

#include "session/StatusText.h"
#include "window/AlbumTableModel.h"
#include "window/FileTableModel.h"
#include "window/TrackTableModel.h"

namespace {

// The tables show the session's lists in the same order.
static_assert(int(TableOutlet::resultTableView) == int(Session::List::albums)
              && int(TableOutlet::trackListView) == int(Session::List::tracks)
              && int(TableOutlet::fileListView) == int(Session::List::files));

const QList<TextOutlet> albumFields{TextOutlet::artist, TextOutlet::album, TextOutlet::publicationYear,
                                    TextOutlet::genre,  TextOutlet::label, TextOutlet::tracks,
                                    TextOutlet::discs};

} // namespace

MainController::MainController(WindowSurface &surface, ServiceConfig config)
    : m_surface(surface), m_session(std::move(config)),
      m_models{std::make_unique<AlbumTableModel>(m_session), std::make_unique<TrackTableModel>(m_session),
               std::make_unique<FileTableModel>(m_session)}
{
    initialize();
    connectSession();
}

void MainController::connectSession()
{
    Session *session = &m_session;
    WindowSurface &surface = m_surface;
    QObject::connect(session, &Session::statusChanged, session, [this](const QString &line) { switchStatus(line); });
    QObject::connect(session, &Session::jobRunningChanged, session, [&surface](bool running) {
        surface.showJobRunning(running);
    });
    QObject::connect(session, &Session::progressChanged, session, [&surface](qint64 done, qint64 total) {
        surface.showJobProgress(done, total);
    });
    QObject::connect(session, &Session::coverChanged, session, [&surface, session] { surface.setImage(session->cover()); });
    QObject::connect(session, &Session::previewChanged, session, [&surface](const QString &preview) {
        surface.setStringValue(TextOutlet::preview, preview);
    });
    QObject::connect(session, &Session::keywordsFound, session, [this](const QString &keywords) {
        clearAdditionalDetails();
        m_surface.setStringValue(TextOutlet::keywords, keywords);
    });
    QObject::connect(session, &Session::fileFailuresReported, session, [&surface](const QString &command, const QStringList &lines) {
        surface.reportFileFailures(command, lines);
    });
    QObject::connect(session, &Session::albumsChanged, session, [&surface, session] {
        surface.setPlaceholder(TableOutlet::resultTableView, session->noAlbumsText());
    });
    QObject::connect(session, &Session::searchFinished, session, [&surface](int albums) {
        if (albums > 0)
            surface.selectRow(TableOutlet::resultTableView, surface.topRow(TableOutlet::resultTableView));
    });
    QObject::connect(session, &Session::albumChosen, session, [&surface](int row) {
        surface.selectRow(TableOutlet::resultTableView, row);
    });
}

void MainController::awakeFromNib()
{
    m_surface.setStringValue(TextOutlet::renaming, userDefault(QVRenamingMaskKey).toString());
    m_session.setMask(m_surface.stringValue(TextOutlet::renaming));
    m_session.readHistory();
    switchStatus(StatusText::waitingForInput());
}

void MainController::getSearchResult()
{
    const QString source = ServiceConfig::storefrontCodeForButtonTag(m_surface.selectedTag());
    m_session.searchAlbums(m_surface.stringValue(TextOutlet::keywords), source);
}

void MainController::clearAll()
{
    if (m_session.isBusy())
        return;
    m_session.clearAll();
    m_surface.setStringValue(TextOutlet::keywords, QString());
}

void MainController::switchStatus(const QString &message)
{
    m_surface.setStringValue(TextOutlet::status, message);
    m_surface.displayStatusView();
}

void MainController::tableViewSelectionDidChange(TableOutlet table, bool byKeys)
{
    if (table == TableOutlet::resultTableView)
        m_session.chooseAlbum(chosenAlbumRow(), !byKeys);
}

void MainController::keyDown(int key)
{
    const std::optional<TableOutlet> table = m_surface.firstResponderTable();
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && table)
        m_session.removeRows(Session::List(int(*table)), m_surface.selectedRows(*table));
}

void MainController::dropTags()
{
    const QStringList files = m_session.listedFiles();
    if (files.isEmpty() || m_session.isBusy())
        return m_session.removeTags(files);
    // Removing every tag is a large change: the user confirms it for exactly these files.
    m_surface.askToConfirm(StatusText::removeTagsQuestion(files.size()), QStringLiteral("Remove tags"),
                           [this, files] { m_session.removeTags(files); });
}

void MainController::addAlbumInformation()
{
    if (m_session.isBusy())
        return;
    QList<std::optional<QString>> values;
    for (TextOutlet field : albumFields)
        values.append(m_surface.stringValue(field));
    m_session.addAlbum(values[0], values[1], values[2], values[3], values[4], values[5], values[6]);
    clearAdditionalDetails();
}

void MainController::addTrackItem()
{
    if (m_session.isBusy())
        return;
    m_session.addTrack(m_surface.stringValue(TextOutlet::trackTitle), m_surface.stringValue(TextOutlet::trackArtist));
    clearAdditionalDetails();
}

void MainController::clearAdditionalDetails()
{
    for (TextOutlet field : albumFields + QList<TextOutlet>{TextOutlet::trackTitle})
        m_surface.setStringValue(field, QString());
}

void MainController::controlTextDidChange()
{
    m_session.setMask(m_surface.stringValue(TextOutlet::renaming));
}

void MainController::controlTextDidEndEditing()
{
    UserDefaults::setValue(QVRenamingMaskKey, m_surface.stringValue(TextOutlet::renaming));
}
