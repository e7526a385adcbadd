#pragma once

#include "demo/DemoCatalogue.h"
#include "support/Mp3Fixtures.h"
#include "window/CoverView.h"
#include "window/MainController.h"
#include "window/TableDragData.h"
#include "window/MainWindow.h"
#include "support/Mp3Fixtures.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>
#include <array>
#include <gtest/gtest.h>
#include <memory>

// Readable QString values in failure messages.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

// A real main window on the offscreen platform, with settings and files in temporary
// folders. Records every line the status view paints.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;

    MainController &controller() { return m_window->controller(); }
    Session &session() { return m_window->controller().session(); }
    SessionTableModel *model(TableOutlet table) { return controller().model(table); }
    MainWindow &window() { return *m_window; }
    // The window's controls, found by their names in the layout.
    template <class Widget> Widget *child(const char *name) { return m_window->findChild<Widget *>(QString::fromLatin1(name)); }
    QLineEdit *field(const char *name) { return child<QLineEdit>(name); }
    QAbstractButton *button(const char *name) { return child<QAbstractButton>(name); }
    QLabel *status() { return child<QLabel>("status"); }
    CoverView *cover() { return child<CoverView>("cover"); }
    QTableView *view(TableOutlet table)
    {
        return child<QTableView>(std::array{"resultTableView", "trackListView", "fileListView"}[int(table)]);
    }
    // The table's column of texts, read through its model.
    QStringList column(TableOutlet table, int column)
    {
        QStringList texts;
        for (int row = 0; row < view(table)->model()->rowCount(); ++row)
            texts.append(view(table)->model()->index(row, column).data().toString());
        return texts;
    }
    // A key typed into the widget (with no window-system time, as the program's own events).
    static void pressKey(QWidget *target, int key, const QString &text = {})
    {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(target, &event);
        }
    }
    // Status lines painted since the last call.
    QStringList takeStatusLines() { return std::exchange(m_statusLines, {}); }

    // Albums typed in by hand under these titles, with no further details.
    void addAlbums(const QStringList &titles)
    {
        for (const QString &title : titles)
            session().addAlbum("Artist", title, "", "", "", "", "");
    }
    // Tracks of the given titles, and a picture of one colour.
    static TrackListPtr trackList(const QStringList &titles)
    {
        auto list = std::make_shared<TrackList>();
        for (const QString &title : titles) {
            list->append(std::make_shared<Track>());
            list->last()->setTitle(title);
        }
        return list;
    }
    static QImage filled(Qt::GlobalColor colour, int size = 16)
    {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    QString filePath(const QString &relativePath) const { return m_files.filePath(relativePath); }
    // Files and folders as a file manager drags them.
    static std::unique_ptr<QMimeData> fileDrag(const QStringList &paths)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }
    // Drops the data on the table between rows, before `row` (-1: after the last), or onto it.
    bool drop(TableOutlet table, const QMimeData *data, int row, bool onto = false)
    {
        SessionTableModel *target = model(table);
        if (!target->canDropMimeData(data, Qt::CopyAction, -1, -1, {}))
            return false;
        return onto ? target->dropMimeData(data, Qt::MoveAction, -1, 0, target->index(row, 0))
                    : target->dropMimeData(data, Qt::MoveAction, row, 0, {});
    }
    // Lists the files as if dropped, and waits for them to be read; where no file is yet, an
    // untagged MP3 file is made first.
    void listFiles(const QStringList &paths)
    {
        for (const QString &path : paths) {
            if (!QFileInfo::exists(path)) {
                EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()) && Mp3Fixtures::writeMp3(path)) << path.toStdString();
            }
        }
        drop(TableOutlet::fileListView, fileDrag(paths).get(), -1);
        session().waitForJob();
    }
    // Clicks the button and waits for the job it started, if any.
    void click(const char *name)
    {
        button(name)->click();
        session().waitForJob();
    }

    QTemporaryDir m_settings, m_files;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_statusLines;
    std::unique_ptr<QObject> m_statusWatcher;
};
