#include "window/MainWindow.h"

#include "ui_MainWindow.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "window/AddFilesCommands.h"
#include "window/HelpDialogs.h"
#include "window/MainController.h"
#include "window/PreferencesDialog.h"
#include "window/QuitDuringJob.h"
#include "window/RowTableView.h"
#include "window/SessionTableModel.h"
#include "window/StaleInputFilter.h"
#include "window/UndoCommands.h"
#include "window/WindowPlacement.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QProgressBar>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

MainWindow::MainWindow(DemoServiceStarter startDemo, bool forceDemo, QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>()), m_startDemo(std::move(startDemo)),
      m_forceDemo(forceDemo)
{
    m_ui->setupUi(this);
    m_ui->searchSelection->setId(m_ui->storeGermany, 1);
    m_ui->searchSelection->setId(m_ui->storeUnitedKingdom, 2);
    m_ui->searchSelection->setId(m_ui->storeFrance, 3);
    m_ui->searchSelection->setId(m_ui->storeUnitedStates, 4);
    m_ui->searchSelection->setId(m_ui->storeMusicBrainz, ServiceConfig::musicBrainzButtonTag);
    m_ui->preview->setText(QStringLiteral("--"));
    m_jobProgress = new QProgressBar(m_ui->statusView);
    m_jobProgress->setObjectName(QStringLiteral("jobProgress"));
    m_jobProgress->setMaximumWidth(200);
    m_cancelJob = new QPushButton(tr("Cancel"), m_ui->statusView);
    m_cancelJob->setObjectName(QStringLiteral("cancelJobButton"));
    m_ui->statusViewLayout->addWidget(m_jobProgress);
    m_ui->statusViewLayout->addWidget(m_cancelJob);
    m_jobProgress->hide();
    m_cancelJob->hide();
    m_staleInput = new StaleInputFilter(this);
    QCoreApplication::instance()->installEventFilter(m_staleInput);

    m_controller = std::make_unique<MainController>(*this, ServiceConfig::placeholders());
    m_addFiles = new AddFilesCommands(this, [this](const QStringList &paths) { dropFiles(paths); });
    m_quitDuringJob = new QuitDuringJob(
        this, [this] { return m_controller->session().isBusy(); }, [this] { m_controller->session().cancelJob(); });
    setUpTables();
    connectActions();
    nameControlsByTheirLabels();
    m_controller->awakeFromNib();
    // A user without storefront credentials starts where searches answer for real.
    if (!applyServiceConfig())
        m_ui->storeMusicBrainz->setChecked(true);
    updateWindowTitle();
}

MainWindow::~MainWindow()
{
    m_controller->session().cancelJob();
    m_controller->session().waitForJob();
    // The views outlive the controller's models by a moment; they must not call back into it.
    for (TableOutlet table : {TableOutlet::resultTableView, TableOutlet::trackListView, TableOutlet::fileListView}) {
        tableView(table)->removeEventFilter(this);
        tableView(table)->selectionModel()->disconnect(this);
    }
    m_controller.reset();
}

void MainWindow::setUpTables()
{
    // The albums can be sorted by any column; the other tables keep the rows in the order
    // that pairs files with tracks.
    m_albumOrder = new QSortFilterProxyModel(this);
    m_albumOrder->setSourceModel(m_controller->model(TableOutlet::resultTableView));
    m_albumOrder->setSortRole(SessionTableModel::SortRole);
    m_albumOrder->setSortCaseSensitivity(Qt::CaseInsensitive);
    for (TableOutlet table : {TableOutlet::resultTableView, TableOutlet::trackListView, TableOutlet::fileListView}) {
        QTableView *view = tableView(table);
        if (table == TableOutlet::resultTableView)
            view->setModel(m_albumOrder);
        else
            view->setModel(m_controller->model(table));
        view->installEventFilter(this);
        // Tab leaves the table for the next control, rather than walking its cells.
        view->setTabKeyNavigation(false);
    }
    connect(m_ui->resultTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_controller->tableViewSelectionDidChange(TableOutlet::resultTableView, std::exchange(m_albumKeyPressed, false));
    });

    // Albums: nothing is dragged out of or dropped onto it; every cell can be corrected.
    QHeaderView *albums = m_ui->resultTableView->horizontalHeader();
    m_ui->resultTableView->setDragDropMode(QAbstractItemView::NoDragDrop);
    albums->setSortIndicator(-1, Qt::AscendingOrder);
    albums->setSortIndicatorClearable(true);
    m_ui->resultTableView->setSortingEnabled(true);
    albums->setSectionResizeMode(QHeaderView::Interactive);
    albums->setDefaultSectionSize(90);
    const int albumWidths[] = {190, 0, 56, 56, 150, 110, 48};
    for (int column = 0; column < 7; ++column)
        albums->resizeSection(column, albumWidths[column]);
    albums->setSectionResizeMode(1, QHeaderView::Stretch);

    QHeaderView *tracks = m_ui->trackListView->horizontalHeader();
    tracks->setSectionResizeMode(0, QHeaderView::Fixed);
    tracks->resizeSection(0, 40);
    tracks->setSectionResizeMode(1, QHeaderView::Stretch);
    tracks->resizeSection(2, 140);
    tracks->resizeSection(3, 56);

    QHeaderView *files = m_ui->fileListView->horizontalHeader();
    files->setSectionResizeMode(0, QHeaderView::Stretch);
    files->resizeSection(1, 56);
    files->setSectionResizeMode(2, QHeaderView::Stretch);
    m_ui->fileListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (QTableView *view : {static_cast<QTableView *>(m_ui->resultTableView), static_cast<QTableView *>(m_ui->trackListView)})
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::SelectedClicked);

    m_ui->listSplitter->setStretchFactor(0, 2);
    m_ui->listSplitter->setStretchFactor(1, 3);
    m_ui->detailSplitter->setStretchFactor(0, 1);
    m_ui->detailSplitter->setStretchFactor(1, 1);
}

void MainWindow::nameControlsByTheirLabels()
{
    for (QLabel *label : findChildren<QLabel *>())
        if (label->buddy())
            label->buddy()->setAccessibleName(QString(label->text()).remove(u'&'));
    // The status line keeps no name of its own: assistive tools read the line itself.
    m_jobProgress->setAccessibleName(tr("Progress"));
}

void MainWindow::connectActions()
{
    MainController *controller = m_controller.get();
    // Each command runs through the filter, so clicks made while it runs are not replayed.
    const auto command = [this](void (MainController::*action)()) {
        return [this, action] { m_staleInput->run([this, action] { (m_controller.get()->*action)(); }); };
    };
    connect(m_ui->searchButton, &QPushButton::clicked, this, command(&MainController::getSearchResult));
    connect(m_ui->keywords, &QLineEdit::returnPressed, this, command(&MainController::getSearchResult));
    connect(m_ui->lineUpButton, &QPushButton::clicked, this, command(&MainController::lineUpFiles));
    connect(m_ui->findAlbumButton, &QPushButton::clicked, this, command(&MainController::findAlbum));
    connect(m_ui->tagButton, &QPushButton::clicked, this, command(&MainController::processTagging));
    connect(m_ui->renameButton, &QPushButton::clicked, this, command(&MainController::processRenaming));
    connect(m_ui->removeTagsButton, &QPushButton::clicked, this, command(&MainController::dropTags));
    connect(m_ui->addAlbumButton, &QPushButton::clicked, this, command(&MainController::addAlbumInformation));
    connect(m_ui->addTrackButton, &QPushButton::clicked, this, command(&MainController::addTrackItem));
    connect(m_ui->clearAllButton, &QPushButton::clicked, this, command(&MainController::clearAll));
    connect(m_ui->clearFilesButton, &QPushButton::clicked, this, command(&MainController::clearFiles));
    connect(m_ui->renaming, &QLineEdit::textEdited, this, [controller] { controller->controlTextDidChange(); });
    // The mask is stored only when the user changed it, so the built-in default is never written.
    connect(m_ui->renaming, &QLineEdit::editingFinished, this, [this, controller] {
        if (!m_ui->renaming->isModified())
            return;
        m_ui->renaming->setModified(false);
        controller->controlTextDidEndEditing();
    });
    connect(m_cancelJob, &QPushButton::clicked, this, [controller] { controller->session().cancelJob(); });
    connect(m_ui->preferencesAction, &QAction::triggered, this, &MainWindow::showPreferences);
    connect(m_ui->quitAction, &QAction::triggered, this, &QWidget::close);
    m_addFiles->connectFiles(m_ui->addFilesAction, m_ui->addFilesButton);
    m_addFiles->connectFolder(m_ui->addFolderAction, m_ui->addFolderButton);
    connect(m_ui->aboutAction, &QAction::triggered, this, [this] { HelpDialogs::showAbout(this); });
    connect(m_ui->shortcutsAction, &QAction::triggered, this, [this] { HelpDialogs::showKeyboardShortcuts(this); });
    new UndoCommands(controller->session(), m_ui->undoAction, m_ui->historyAction, this);
    connect(m_ui->searchSelection, &QButtonGroup::idToggled, this, &MainWindow::updateWindowTitle);
}

bool MainWindow::applyServiceConfig()
{
    ServiceConfig config = ServiceConfig::load();
    const bool credentialsConfigured = config.credentialsConfigured;
    QString demoProblem;
    std::optional<ServiceConfig> demo;
    if ((m_forceDemo || !config.credentialsConfigured) && m_startDemo)
        demo = m_startDemo(&demoProblem);
    if (demo && !m_forceDemo) {
        // Without credentials only the storefronts fall back to the sample catalogue:
        // MusicBrainz needs none, so it stays live.
        demo->musicBrainzUrl = config.musicBrainzUrl;
        demo->coverArtUrl = config.coverArtUrl;
    }
    m_usesDemo = demo.has_value();
    m_controller->session().setServiceConfig(m_usesDemo ? std::move(*demo) : std::move(config));
    updateWindowTitle();
    if (!m_usesDemo && !demoProblem.isEmpty())
        m_controller->switchStatus(tr("The demo catalogue could not be started: %1").arg(demoProblem));
    return credentialsConfigured;
}

void MainWindow::updateWindowTitle()
{
    const int tag = m_ui->searchSelection->checkedId();
    QString source;
    for (const Storefront &store : ServiceConfig::storefronts())
        if (store.buttonTag == tag)
            source = store.country;
    const bool musicBrainz = tag == ServiceConfig::musicBrainzButtonTag;
    if (musicBrainz)
        source = MusicBrainzService::name();
    // Without credentials only the storefronts are the demo's; MusicBrainz stays live unless forced.
    if (m_usesDemo && (!musicBrainz || m_forceDemo))
        source = source.isEmpty() ? tr("demo catalogue") : tr("%1 (demo catalogue)").arg(source);
    setWindowTitle(source.isEmpty() ? tr("Tagwright") : tr("Tagwright \u2014 %1").arg(source));
}

void MainWindow::placeOnScreen()
{
    WindowPlacement::placeOnScreen(*this, QSize(1280, 800));
}

void MainWindow::showPreferences()
{
    PreferencesDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        applyServiceConfig();
}

void MainWindow::dropFiles(const QStringList &paths)
{
    m_controller->session().addFiles(paths);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // A key that moves the album choice is seen here before the table moves it, and the
        // choice moves before the queued reset runs.
        if (watched == m_ui->resultTableView) {
            m_albumKeyPressed = true;
            QMetaObject::invokeMethod(this, [this] { m_albumKeyPressed = false; }, Qt::QueuedConnection);
        }
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)
            && (watched == m_ui->resultTableView || watched == m_ui->trackListView || watched == m_ui->fileListView)) {
            m_controller->keyDown(key->key());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

RowTableView *MainWindow::tableView(TableOutlet table) const
{
    switch (table) {
    case TableOutlet::resultTableView: return m_ui->resultTableView;
    case TableOutlet::trackListView: return m_ui->trackListView;
    case TableOutlet::fileListView: return m_ui->fileListView;
    }
    return nullptr;
}

// --- the surface the controller works through ----------------------------------------

namespace {

QLineEdit *lineEdit(Ui::MainWindow &ui, TextOutlet field)
{
    switch (field) {
    case TextOutlet::artist: return ui.artist;
    case TextOutlet::album: return ui.album;
    case TextOutlet::publicationYear: return ui.publicationYear;
    case TextOutlet::genre: return ui.genre;
    case TextOutlet::tracks: return ui.tracks;
    case TextOutlet::label: return ui.label;
    case TextOutlet::discs: return ui.discs;
    case TextOutlet::keywords: return ui.keywords;
    case TextOutlet::renaming: return ui.renaming;
    case TextOutlet::preview: return ui.preview;
    case TextOutlet::trackTitle: return ui.trackTitle;
    case TextOutlet::trackArtist: return ui.trackArtist;
    case TextOutlet::status: return nullptr;
    }
    return nullptr;
}

} // namespace

QString MainWindow::stringValue(TextOutlet field) const
{
    if (field == TextOutlet::status)
        return m_ui->status->text();
    return lineEdit(*m_ui, field)->text();
}

void MainWindow::setStringValue(TextOutlet field, const QString &text)
{
    if (field == TextOutlet::status) {
        m_ui->status->setText(text);
        return;
    }
    QLineEdit *edit = lineEdit(*m_ui, field);
    edit->setText(text);
    edit->setCursorPosition(0);
}

std::optional<QImage> MainWindow::image() const
{
    return m_ui->cover->image();
}

void MainWindow::setImage(const std::optional<QImage> &image)
{
    m_ui->cover->setImage(image);
}

int MainWindow::selectedTag() const
{
    return m_ui->searchSelection->checkedId();
}

int MainWindow::listRow(TableOutlet table, int row) const
{
    if (table != TableOutlet::resultTableView || row < 0)
        return row;
    return m_albumOrder->mapToSource(m_albumOrder->index(row, 0)).row();
}

int MainWindow::viewRow(TableOutlet table, int row) const
{
    if (table != TableOutlet::resultTableView || row < 0)
        return row;
    return m_albumOrder->mapFromSource(m_controller->model(table)->index(row, 0)).row();
}

void MainWindow::selectRow(TableOutlet table, int row)
{
    QTableView *view = tableView(table);
    view->selectionModel()->setCurrentIndex(view->model()->index(viewRow(table, row), 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int MainWindow::selectedRow(TableOutlet table) const
{
    const QList<int> rows = selectedRows(table);
    const QModelIndex current = tableView(table)->selectionModel()->currentIndex();
    if (current.isValid() && rows.contains(listRow(table, current.row())))
        return listRow(table, current.row());
    return rows.isEmpty() ? -1 : rows.last();
}

QList<int> MainWindow::selectedRows(TableOutlet table) const
{
    QList<int> rows;
    for (const QModelIndex &index : tableView(table)->selectionModel()->selectedRows())
        rows.append(listRow(table, index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int MainWindow::topRow(TableOutlet table) const
{
    return tableView(table)->model()->rowCount() > 0 ? listRow(table, 0) : -1;
}

void MainWindow::setPlaceholder(TableOutlet table, const QString &text)
{
    tableView(table)->setPlaceholderText(text);
}

void MainWindow::showJobRunning(bool running)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_ui->searchButton, m_ui->keywords, m_ui->lineUpButton, m_ui->findAlbumButton, m_ui->tagButton, m_ui->renameButton, m_ui->removeTagsButton,
             m_ui->addAlbumButton, m_ui->addTrackButton, m_ui->clearAllButton, m_ui->clearFilesButton,
             m_ui->addFilesButton, m_ui->addFolderButton})
        control->setEnabled(!running);
    m_ui->addFilesAction->setEnabled(!running);
    m_ui->addFolderAction->setEnabled(!running);
    for (TableOutlet table : {TableOutlet::resultTableView, TableOutlet::trackListView, TableOutlet::fileListView}) {
        if (running)
            tableView(table)->viewport()->setCursor(Qt::BusyCursor);
        else
            tableView(table)->viewport()->unsetCursor();
    }
    showJobProgress(0, 0);
    m_jobProgress->setVisible(running);
    m_cancelJob->setVisible(running);
    if (!running)
        m_quitDuringJob->jobEnded();
}

void MainWindow::showJobProgress(qint64 done, qint64 total)
{
    // A range of 0 to 0 makes the bar indeterminate, as while a search waits for the service.
    m_jobProgress->setRange(0, int(total));
    m_jobProgress->setValue(int(done));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_quitDuringJob->allowsClose())
        return event->ignore();
    // No job runs now; an album look-up under way is waited for.
    m_controller->session().cancelJob();
    m_controller->session().waitForJob();
    QMainWindow::closeEvent(event);
}

void MainWindow::displayStatusView()
{
    m_ui->statusView->repaint();
}

std::optional<TableOutlet> MainWindow::firstResponderTable() const
{
    const QWidget *focus = focusWidget();
    for (TableOutlet table : {TableOutlet::resultTableView, TableOutlet::trackListView, TableOutlet::fileListView})
        if (focus == tableView(table))
            return table;
    return std::nullopt;
}

void MainWindow::reportFileFailures(const QString &command, const QStringList &failures)
{
    // Not modal: the window stays usable, and a later command does not wait on it.
    const QString files = failures.size() == 1 ? tr("1 file") : tr("%1 files").arg(failures.size());
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Tagwright"),
                                tr("%1: %2 could not be changed as asked; the details say what became of each.")
                                    .arg(command, files),
                                QMessageBox::Close, this);
    box->setObjectName(QStringLiteral("fileFailures"));
    box->setDetailedText(failures.join(u'\n'));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::askToConfirm(const QString &question, const QString &action, std::function<void()> confirmed)
{
    // Window-modal but without a nested event loop: the answer comes back as a click.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Tagwright"), question, QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("confirmation"));
    QPushButton *accept = box->addButton(action, QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(accept, &QPushButton::clicked, this,
            [this, confirmed = std::move(confirmed)] { m_staleInput->run(confirmed); });
    box->open();
}
