#pragma once

#include "search/ServiceConfig.h"
#include "window/WindowSurface.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class MainWindow;
}
class AddFilesCommands;
class MainController;
class QuitDuringJob;
class StaleInputFilter;
class QButtonGroup;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class RowTableView;

// The application's single window: the layout from MainWindow.ui, the controller wired to
// its controls, and the choice between the configured catalogue service and the demo one.
class MainWindow : public QMainWindow, public WindowSurface {
    Q_OBJECT
public:
    // Gives the settings of a demo catalogue service, started on first use, or nothing (and
    // why in error) when none can be started.
    using DemoServiceStarter = std::function<std::optional<ServiceConfig>(QString *error)>;

    // With forceDemo, or while no credentials are configured, searches go to the demo service
    // that startDemo gives; without a starter they go to the configured settings as they are.
    explicit MainWindow(DemoServiceStarter startDemo = {}, bool forceDemo = false, QWidget *parent = nullptr);
    ~MainWindow() override;

    MainController &controller() { return *m_controller; }
    bool usesDemoCatalogue() const { return m_usesDemo; }

    // Puts these files and folders into the file list as if dropped on it.
    void dropFiles(const QStringList &paths);
    AddFilesCommands &addFilesCommands() { return *m_addFiles; }

    // Opens at its usual size, or within the screen's available area where that is smaller.
    void placeOnScreen();

    // Takes the service settings anew (at start and after the preferences changed): the
    // configuration from the settings and the environment, with the demo catalogue
    // where asked for or needed; whether storefront credentials are configured.
    bool applyServiceConfig();

    QString stringValue(TextOutlet field) const override;
    void setStringValue(TextOutlet field, const QString &text) override;
    std::optional<QImage> image() const override;
    void setImage(const std::optional<QImage> &image) override;
    int selectedTag() const override;
    void selectRow(TableOutlet table, int row) override;
    int selectedRow(TableOutlet table) const override;
    QList<int> selectedRows(TableOutlet table) const override;
    int topRow(TableOutlet table) const override;
    void setPlaceholder(TableOutlet table, const QString &text) override;
    void showJobRunning(bool running) override;
    void showJobProgress(qint64 done, qint64 total) override;
    void displayStatusView() override;
    std::optional<TableOutlet> firstResponderTable() const override;
    void reportFileFailures(const QString &command, const QStringList &failures) override;
    void askToConfirm(const QString &question, const QString &action, std::function<void()> confirmed) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Closing during a job asks first; once the user agrees, the job is cancelled and the
    // window closes as it ends.
    void closeEvent(QCloseEvent *event) override;

private:
    RowTableView *tableView(TableOutlet table) const;
    // The row of the session's list a row of the table shows, and back.
    int listRow(TableOutlet table, int viewRow) const;
    int viewRow(TableOutlet table, int listRow) const;
    void setUpTables();
    // Every control is named to assistive tools as its label reads.
    void nameControlsByTheirLabels();
    void connectActions();
    void showPreferences();
    // The title names the catalogue the chosen source searches, and says when it is the demo.
    void updateWindowTitle();

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<MainController> m_controller;
    DemoServiceStarter m_startDemo;
    StaleInputFilter *m_staleInput = nullptr;
    AddFilesCommands *m_addFiles = nullptr;
    QuitDuringJob *m_quitDuringJob = nullptr;
    QProgressBar *m_jobProgress = nullptr;
    QPushButton *m_cancelJob = nullptr;
    QSortFilterProxyModel *m_albumOrder = nullptr;
    bool m_albumKeyPressed = false; // the album table's selection is about to move by a key
    bool m_forceDemo;
    bool m_usesDemo = false;
};
