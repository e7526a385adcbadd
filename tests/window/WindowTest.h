#pragma once

#include "window/ControllerTableModel.h"
#include "window/MainController.h"
#include "window/MainWindow.h"

#include "window/CoverView.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include <QMimeData>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// A real main window on the offscreen platform, with settings in a temporary folder and
// a temporary folder for files. Records every line the status view paints.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes a new window over the same settings, as a restart of the program would.
    void restartWindow();

    MainController &controller() { return m_window->controller(); }
    // The window's controls, found by their names in the layout.
    template <class Widget> Widget *child(const char *name)
    {
        Widget *widget = m_window->findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *field(const char *name) { return child<QLineEdit>(name); }
    QAbstractButton *button(const char *name) { return child<QAbstractButton>(name); }
    QLabel *status() { return child<QLabel>("status"); }
    CoverView *cover() { return child<CoverView>("cover"); }
    MainWindow &window() { return *m_window; }

    // Status lines painted since the last call.
    QStringList takeStatusLines();

    // A file below the temporary folder, with its folders made; empty content by default.
    QString makeFile(const QString &relativePath, const QByteArray &content = {});
    QString filePath(const QString &relativePath) const { return m_files.filePath(relativePath); }

    // Tracks of the given titles, all by one artist, and a picture of one colour.
    static TrackListPtr trackList(const QStringList &titles, const QString &artist = QStringLiteral("Performer"));
    static QImage filled(Qt::GlobalColor colour, int size = 16);

    // Drag data as a file manager, a music library and the window's own tables make it.
    static std::unique_ptr<QMimeData> fileDrag(const QStringList &paths);
    static std::unique_ptr<QMimeData> trackDrag(const QStringList &locations);
    std::unique_ptr<QMimeData> rowDrag(TableOutlet table, const QList<int> &rows);

    // The table's column of texts, read through its model.
    QStringList column(TableOutlet table, int column);
    QTableView *view(TableOutlet table);
    void selectRows(TableOutlet table, const QList<int> &rows);
    void pressKey(QWidget *target, int key, const QString &text = {});
    // Types text into a line edit key by key, as a user would.
    void typeInto(QWidget *target, const QString &text);
    void listFiles(const QStringList &paths);

    QTemporaryDir m_settings;
    QTemporaryDir m_files;
    std::unique_ptr<MainWindow> m_window;

private:
    void watchStatus();
    QStringList m_statusLines;
    std::unique_ptr<QObject> m_statusWatcher;
};
