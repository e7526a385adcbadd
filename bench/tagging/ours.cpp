// Tags every audio file in DIR as one album with the cover, through FileHandler::tagFiles;
// with JOURNAL, recording the run in an undo journal kept in that folder.
// Usage: bench_tagging_ours DIR COVER.jpg [JOURNAL]
#include "files/FileHandler.h"
#include "journal/Journal.h"
#include "journal/JournalEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: bench_tagging_ours DIR COVER.jpg [JOURNAL]\n");
        return 2;
    }
    const QDir dir(args[1]);
    QStringList files;
    for (const QString &name : dir.entryList({QStringLiteral("track*")}, QDir::Files, QDir::Name))
        files.append(dir.filePath(name));

    ResultEntry album;
    album.setArtistName(QStringLiteral("The Benchmark Orchestra"));
    album.setAlbumName(QStringLiteral("Two Hundred Pieces"));
    album.setGenre(QStringLiteral("Classical"));
    album.setYearOfPublication(QStringLiteral("2024"));
    album.setNumberOfDiscs(1);
    album.setCover(QImage(args[2]));
    auto tracks = std::make_shared<TrackList>();
    for (qsizetype i = 0; i < files.size(); ++i) {
        auto track = std::make_shared<Track>();
        track->setTitle(QStringLiteral("Piece number %1").arg(i + 1));
        track->setArtist(QStringLiteral("The Benchmark Orchestra"));
        tracks->append(track);
    }
    const auto entry = args.size() == 4 ? Journal(args[3]).begin(Journal::Operation::tagFiles) : nullptr;
    FileHandler(entry.get()).tagFiles(files, tracks, album);
    return 0;
}
