#include "WindowTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSettings>
#include <QUrl>

// Fontconfig keeps a cache it never frees once the window has drawn text; the leak checker
// of the sanitizer build must not take that for a fault of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

// Notes the status text each time the status line paints.
class PaintRecorder : public QObject {
public:
    PaintRecorder(QLabel *label, QStringList &lines) : m_label(label), m_lines(lines) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_label && event->type() == QEvent::Paint)
            m_lines.append(m_label->text());
        return false;
    }

private:
    QLabel *m_label;
    QStringList &m_lines;
};

void ensureApplication()
{
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_window";
    static char *argv[] = {name, nullptr};
    // Lives until the process ends, as an application object does.
    static QApplication *application = new QApplication(argc, argv);
    (void)application;
}

} // namespace

void WindowTest::SetUp()
{
    ensureApplication();
    ASSERT_TRUE(m_settings.isValid());
    ASSERT_TRUE(m_files.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    for (const char *name : {"TAGWRIGHT_ACCESS_KEY", "TAGWRIGHT_SECRET_KEY", "TAGWRIGHT_HOST_DE",
                             "TAGWRIGHT_HOST_COM", "TAGWRIGHT_HOST_CO_UK", "TAGWRIGHT_HOST_FR"})
        qunsetenv(name);
    restartWindow();
}

void WindowTest::TearDown()
{
    m_statusWatcher.reset();
    m_window.reset();
}

void WindowTest::restartWindow()
{
    m_statusWatcher.reset();
    m_window.reset();
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1280, 800);
    m_window->show();
    m_window->activateWindow();
    QApplication::processEvents();
    watchStatus();
}

void WindowTest::watchStatus()
{
    m_statusLines.clear();
    auto recorder = std::make_unique<PaintRecorder>(status(), m_statusLines);
    status()->installEventFilter(recorder.get());
    m_statusWatcher = std::move(recorder);
}

QStringList WindowTest::takeStatusLines()
{
    return std::exchange(m_statusLines, {});
}

QString WindowTest::makeFile(const QString &relativePath, const QByteArray &content)
{
    const QString path = m_files.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

TrackListPtr WindowTest::trackList(const QStringList &titles, const QString &artist)
{
    auto list = std::make_shared<TrackList>();
    for (const QString &title : titles) {
        list->append(std::make_shared<Track>());
        list->last()->setTitle(title);
        list->last()->setArtist(artist);
    }
    return list;
}

QImage WindowTest::filled(Qt::GlobalColor colour, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

std::unique_ptr<QMimeData> WindowTest::fileDrag(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> WindowTest::trackDrag(const QStringList &locations)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                     "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                     "<plist version=\"1.0\"><dict><key>Major Version</key><integer>1</integer>"
                     "<key>Tracks</key><dict>";
    int id = 100;
    for (const QString &location : locations) {
        xml += "<key>" + QByteArray::number(id) + "</key><dict><key>Track ID</key><integer>"
               + QByteArray::number(id) + "</integer><key>Location</key><string>"
               + location.toHtmlEscaped().toUtf8() + "</string></dict>";
        ++id;
    }
    xml += "</dict></dict></plist>\n";
    auto data = std::make_unique<QMimeData>();
    data->setData(MainController::trackDragType, xml);
    return data;
}

std::unique_ptr<QMimeData> WindowTest::rowDrag(TableOutlet table, const QList<int> &rows)
{
    return std::unique_ptr<QMimeData>(controller().writeRowsWithIndexes(table, rows));
}

QStringList WindowTest::column(TableOutlet table, int column)
{
    QAbstractItemModel *model = view(table)->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

QTableView *WindowTest::view(TableOutlet table)
{
    switch (table) {
    case TableOutlet::resultTableView: return child<QTableView>("resultTableView");
    case TableOutlet::trackListView: return child<QTableView>("trackListView");
    case TableOutlet::fileListView: return child<QTableView>("fileListView");
    }
    return nullptr;
}

void WindowTest::selectRows(TableOutlet table, const QList<int> &rows)
{
    QTableView *tableView = view(table);
    tableView->clearSelection();
    for (int row : rows)
        tableView->selectionModel()->select(tableView->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void WindowTest::pressKey(QWidget *target, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void WindowTest::typeInto(QWidget *target, const QString &text)
{
    for (const QChar character : text) {
        const int key = character.unicode() < 128 ? int(character.toUpper().unicode()) : int(Qt::Key_unknown);
        pressKey(target, key, QString(character));
    }
}

void WindowTest::listFiles(const QStringList &paths)
{
    const auto data = fileDrag(paths);
    ASSERT_TRUE(controller().acceptDrop(TableOutlet::fileListView, data.get(), 0));
}
