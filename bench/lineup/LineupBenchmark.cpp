// Times lining up N files (200 unless the first argument says, at most 1000) with the N tracks
// of a two-disc album, lengths known: reading what the files offer (tags, names, playing
// time) and, apart from it, the pairing itself.
// A third of the files carry tags of the album, a third a number in their name, a third
// only a loosely written title; all are listed in shuffled order.
#include "files/MetadataKeys.h"
#include "lineup/Lineup.h"
#include "support/Mp3Fixtures.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int defaultTrackCount = 200;
constexpr int rounds = 20;

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

QString titleFor(QRandomGenerator &random)
{
    static const char *const words[] = {"harbour", "light", "morning", "river", "stone", "glass", "winter", "echo",
                                        "paper", "garden", "silver", "night", "road", "fire", "ocean", "shadow",
                                        "window", "summer", "letter", "north", "dancing", "quiet", "city", "bridge"};
    QStringList title;
    for (int i = 0, count = 2 + random.bounded(3); i < count; ++i)
        title.append(QString::fromLatin1(words[random.bounded(int(std::size(words)))]));
    title.first()[0] = title.first()[0].toUpper();
    return title.join(u' ');
}

} // namespace

int main(int argc, char *argv[])
{
    const int trackCount = argc > 1 ? std::atoi(argv[1]) : defaultTrackCount;
    if (trackCount < 2 || trackCount > maxTracksPerAlbum) {
        std::fprintf(stderr, "usage: bench_lineup [TRACKS], TRACKS from 2 to %d\n", int(maxTracksPerAlbum));
        return 2;
    }
    QRandomGenerator random(2026);
    QTemporaryDir dir;
    ResultEntry album;
    album.setAlbumName(QStringLiteral("Harbour Lights"));
    album.setNumberOfDiscs(2);
    TrackList tracks;
    QStringList files;
    for (int i = 0; i < trackCount; ++i) {
        auto track = std::make_shared<Track>();
        const int disc = i < trackCount / 2 ? 1 : 2;
        const int number = i % (trackCount / 2) + 1;
        const int seconds = 3 + random.bounded(12);
        track->setTitle(titleFor(random));
        track->setDiscNumber(disc);
        track->setNumberOnDisc(number);
        track->setLengthMs(seconds * 1000 + random.bounded(1500));
        tracks.append(track);

        QString name = QStringLiteral("%1 (live).mp3").arg(track->title()->toUpper());
        QVariantMap tags;
        if (i % 3 == 0)
            tags = {{MetadataKeys::album, *album.albumName()}, {MetadataKeys::trackNumber, number}, {MetadataKeys::discNumber, disc}};
        else if (i % 3 == 1)
            name = QStringLiteral("%1-%2 %3.mp3").arg(disc).arg(number, 2, 10, QChar(u'0')).arg(*track->title());
        files.append(dir.filePath(name.replace(u'/', u'_')));
        const qint64 bytes = seconds * Mp3Fixtures::bytesPerSecond;
        if (!(tags.isEmpty() ? Mp3Fixtures::writeMp3(files.last(), bytes) : Mp3Fixtures::writeTaggedMp3(files.last(), tags, bytes))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(files.last()));
            return 1;
        }
    }
    const QStringList inOrder = files;
    std::shuffle(files.begin(), files.end(), std::mt19937(7));

    const auto readStart = std::chrono::steady_clock::now();
    const QList<FileClues> clues = FileClues::readAll(files);
    const double readMs = millisecondsSince(readStart);

    std::vector<double> times;
    Lineup lineup;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        lineup = Lineup::match(clues, tracks, album);
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    int right = 0;
    for (int t = 0; t < trackCount; ++t)
        right += lineup.fileOfTrack[t] >= 0 && files[lineup.fileOfTrack[t]] == inOrder[t];
    std::printf("reading %d files: %.1f ms\n", trackCount, readMs);
    std::printf("lining up %d files with %d tracks: median %.1f ms, max %.1f ms over %d rounds (goal: under %d ms)\n",
                trackCount, trackCount, times[times.size() / 2], times.back(), rounds, trackCount > 200 ? 1000 : 50);
    std::printf("paired rightly: %d of %d\n", right, trackCount);
    return 0;
}
