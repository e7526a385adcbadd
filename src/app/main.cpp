#include "app/ScreenshotScene.h"
#include "demo/DemoCatalogue.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tagwright"));
    QCoreApplication::setApplicationName(QStringLiteral("Tagwright"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAGWRIGHT_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tagwright"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tagwright"), QIcon(QStringLiteral(":/tagwright.svg"))));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tags and renames audio files (MP3, FLAC, Ogg Vorbis, Opus, MP4) with album information found in an online catalogue.\n"
        "Without configured credentials it searches the bundled demo catalogue."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Search the bundled demo catalogue."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a 1280x800 PNG of the window after a demo search and exit (implies --demo)."),
        QStringLiteral("FILE"));
    parser.addOption(demo);
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Audio files or folders to list."),
                                 QStringLiteral("[FILE...]"));
    parser.process(app);

    MainWindow window(DemoCatalogue::starter(), parser.isSet(demo) || parser.isSet(screenshot));
    if (parser.isSet(screenshot)) {
        QString error;
        if (!ScreenshotScene::render(window, parser.value(screenshot), &error)) {
            QTextStream(stderr) << "tagwright: " << error << "\n";
            return 1;
        }
        return 0;
    }

    window.resize(1280, 800);
    window.show();
    QStringList paths;
    for (const QString &argument : parser.positionalArguments())
        paths.append(QFileInfo(argument).absoluteFilePath());
    if (!paths.isEmpty())
        window.dropFiles(paths);
    return app.exec();
}
