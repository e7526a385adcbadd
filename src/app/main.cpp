#include "app/ScreenshotScene.h"
#include "common/LibraryVersions.h"
#include "demo/DemoCatalogue.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>
#include <cstdlib>

namespace {

// --help and --version answer before any display is opened, so that they work without one.
void answerHelpOrVersion(int argc, char *argv[], QCommandLineParser &parser)
{
    QCoreApplication probe(argc, argv);
    // Options meant for the window system (-platform, -display) are not known here: only
    // the two that end the program are looked for.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(probe); // prints the window system's options too, and exits
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << QStringLiteral("tagwright %1\n%2\n")
                                   .arg(LibraryVersions::application(), LibraryVersions::libraries().join(u'\n'));
        std::exit(0);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tagwright"));
    QCoreApplication::setApplicationName(QStringLiteral("Tagwright"));
    QCoreApplication::setApplicationVersion(LibraryVersions::application());
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tags and renames audio files (MP3, FLAC, Ogg Vorbis, Opus, MP4) with album information found in an\n"
        "online catalogue. MusicBrainz needs no account; without configured credentials the storefronts\n"
        "search the bundled demo catalogue."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Search the bundled demo catalogue, MusicBrainz included."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a 1280x800 PNG of the window after a demo search and exit (implies --demo)."),
        QStringLiteral("FILE"));
    parser.addOption(demo);
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Audio files or folders to list."),
                                 QStringLiteral("[FILE...]"));
    answerHelpOrVersion(argc, argv, parser);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tagwright"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tagwright"), QIcon(QStringLiteral(":/tagwright.svg"))));
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

    window.placeOnScreen();
    window.show();
    QStringList paths;
    for (const QString &argument : parser.positionalArguments())
        paths.append(QFileInfo(argument).absoluteFilePath());
    if (!paths.isEmpty())
        window.dropFiles(paths);
    return app.exec();
}
