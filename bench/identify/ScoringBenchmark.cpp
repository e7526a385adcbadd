// Times scoring the candidates of one album: 5 releases of 30 tracks (the right one, two
// editions of it with other lengths, and two other albums) against 30 files that offer what
// untagged rips do (a number and title in the name, the playing time), built in memory.
// Goal: under 5 ms for all five, building the scorer included.
#include "identify/CandidateScore.h"

#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int trackCount = 30;
constexpr int candidateCount = 5;
constexpr int rounds = 50;

QString titleFor(QRandomGenerator &random)
{
    static const char *const words[] = {"harbour", "light", "morning", "river", "stone", "glass", "winter", "echo",
                                        "paper", "garden", "silver", "night", "road", "fire", "ocean", "shadow"};
    QStringList title;
    for (int i = 0, count = 2 + random.bounded(3); i < count; ++i)
        title.append(QString::fromLatin1(words[random.bounded(int(std::size(words)))]));
    return title.join(u' ');
}

std::shared_ptr<ResultEntry> release(QRandomGenerator &random, const QString &name, const QStringList &titles,
                                     const QList<qint64> &lengths)
{
    auto album = std::make_shared<ResultEntry>();
    album->setAlbumName(name);
    album->setArtistName(QStringLiteral("The Harbour Band"));
    album->setYearOfPublication(QStringLiteral("2019"));
    auto tracks = std::make_shared<TrackList>();
    for (int i = 0; i < trackCount; ++i) {
        auto track = std::make_shared<Track>();
        track->setTitle(titles.isEmpty() ? titleFor(random) : titles[i]);
        track->setDiscNumber(1);
        track->setNumberOnDisc(i + 1);
        track->setLengthMs(lengths.isEmpty() ? 120000 + random.bounded(240000) : lengths[i]);
        tracks->append(track);
    }
    album->setTrackList(tracks);
    return album;
}

} // namespace

int main()
{
    QRandomGenerator random(2026);
    QStringList titles;
    QList<qint64> lengths;
    for (int i = 0; i < trackCount; ++i) {
        titles.append(titleFor(random));
        lengths.append(120000 + random.bounded(240000));
    }
    QList<AlbumFileFacts> files;
    for (int i = 0; i < trackCount; ++i) {
        AlbumFileFacts file;
        file.clues.path = QStringLiteral("/music/The Harbour Band - Harbour Lights/%1 %2.mp3")
                              .arg(i + 1, 2, 10, QChar(u'0')).arg(titles[i]);
        file.clues.lengthMs = lengths[i] + 800;
        files.append(file);
    }
    const QList<std::shared_ptr<ResultEntry>> candidates{
        release(random, QStringLiteral("Harbour Lights"), titles, lengths),
        release(random, QStringLiteral("Harbour Lights (Deluxe)"), titles, {}),
        release(random, QStringLiteral("Harbour Lights Live"), {}, lengths),
        release(random, QStringLiteral("Other Shores"), {}, {}),
        release(random, QStringLiteral("Night Ferry"), {}, {}),
    };
    AlbumClues clues;
    clues.album = QStringLiteral("Harbour Lights");
    clues.artist = QStringLiteral("The Harbour Band");
    clues.trackCount = trackCount;

    std::vector<double> times;
    QList<double> scores;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const CandidateScore score(files, clues);
        scores.clear();
        for (const std::shared_ptr<ResultEntry> &candidate : candidates)
            scores.append(score.of(*candidate).score);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("scoring %d candidates of %d tracks against %d files: median %.2f ms, max %.2f ms over %d rounds "
                "(goal: under 5 ms)\n", candidateCount, trackCount, trackCount, times[times.size() / 2], times.back(), rounds);
    std::printf("scores:");
    for (const double s : std::as_const(scores))
        std::printf(" %.2f", s);
    std::printf("\n");
    return 0;
}
