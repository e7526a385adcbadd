#include "app/ScreenshotScene.h"

#include "demo/DemoCatalogue.h"
#include "window/MainController.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

// A short silent MP3: MPEG-1 Layer III frames at 128 kbit/s and 44.1 kHz, 417 bytes each.
bool writeSilentMp3(const QString &path)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x00);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < 40; ++i)
        file.write(frame);
    return file.error() == QFile::NoError;
}

// The first keywords the demo catalogue has answers for.
QString demoKeywords()
{
    const QDir root(DemoCatalogue::findRoot());
    for (const QString &folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFile::exists(root.filePath(folder + QStringLiteral("/page-1.xml"))))
            return folder;
    return QString();
}

} // namespace

bool ScreenshotScene::render(MainWindow &window, const QString &pngPath, QString *error)
{
    QTemporaryDir folder;
    const QString keywords = demoKeywords();
    if (!folder.isValid() || keywords.isEmpty()) {
        *error = QStringLiteral("no demo catalogue to search");
        return false;
    }
    QStringList files;
    for (int number = 1; number <= 4; ++number) {
        const QString path = folder.filePath(QStringLiteral("track%1.mp3").arg(number, 2, 10, QLatin1Char('0')));
        if (!writeSilentMp3(path)) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        files.append(path);
    }

    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();

    MainController &controller = window.controller();
    Session &session = controller.session();
    window.setStringValue(TextOutlet::keywords, keywords);
    controller.getSearchResult();
    session.waitForJob();
    // An album with its tracks and a cover shows the most of the window.
    const ResultListPtr &albums = session.albums();
    for (int row = 0; albums && row < albums->size(); ++row) {
        if (albums->at(row)->cover() && albums->at(row)->trackList()) {
            window.selectRow(TableOutlet::resultTableView, row);
            break;
        }
    }
    window.dropFiles(files);
    session.waitForJob();
    controller.processTagging();
    session.waitForJob();
    window.selectRow(TableOutlet::fileListView, 0);
    QApplication::processEvents();

    if (!window.grab().toImage().save(pngPath, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(pngPath);
        return false;
    }
    return true;
}
