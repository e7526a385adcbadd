// Lining files up with an album's tracks: the pairing found from tags, names, titles and
// lengths of generated MP3 files, the assignment under it, and the reading of names.
#include "common/JobControl.h"
#include "files/SongMetadata.h"
#include "lineup/Assignment.h"
#include "lineup/NameNumber.h"
#include "lineup/TitleSimilarity.h"
#include "session/Session.h"
#include "support/Mp3Fixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

struct TrackSpec {
    QString title;
    int disc = 0, number = 0, seconds = 0; // 0: not known
};
struct FileSpec {
    QString name; // relative, may name a folder
    QVariantMap tags = {};
    int seconds = 0;
};
struct Case {
    const char *what;
    QList<TrackSpec> tracks;
    QList<FileSpec> files;  // in the order listed
    QStringList pairing;    // per track, its file or ""
    QStringList unmatched;  // in the order left at the end
};

const QString album = QStringLiteral("Harbour Songs");
QVariantMap tags(const char *albumName, int disc, int number, bool totals = false)
{
    QVariantMap map{{QVAlbumTag, albumName}, {QVTrackNoTag, number}, {Mp3Fixtures::discNumberKey, disc}};
    if (totals) {
        map.insert(QVTrackCountTag, 2);
        map.insert(QVDiscsTag, 2);
    }
    return map;
}
const QList<TrackSpec> twoDiscs{{"Alpha", 1, 1}, {"Bravo", 1, 2}, {"Charlie", 2, 1}, {"Delta", 2, 2}};
const QList<TrackSpec> fourTracks{{"Alpha"}, {"Bravo"}, {"Charlie"}, {"Delta"}};

const Case cases[] = {
    {"tags of this album (case and punctuation aside) name disc and number; another album's do not", twoDiscs,
     {{"song.mp3", tags("harbour songs!", 2, 2)}, {"misc.mp3", tags("Other Album", 1, 1)},
      {"take.mp3", tags("HARBOUR SONGS", 1, 2, true)}, {"item.mp3", tags("Harbour Songs", 2, 1, true)},
      {"file.mp3", tags("Harbour  Songs", 1, 1)}},
     {"file.mp3", "take.mp3", "item.mp3", "song.mp3"}, {"misc.mp3"}},
    {"numbers in names, with the disc in the name or the folder", twoDiscs,
     {{"CD2/01.mp3"}, {"Disc 2/02 Delta.mp3"}, {"Artist - 01 - Alpha.mp3"}, {"1-02 x.mp3"}},
     {"Artist - 01 - Alpha.mp3", "1-02 x.mp3", "CD2/01.mp3", "Disc 2/02 Delta.mp3"}, {}},
    {"titles with accents, punctuation and guest credits",
     {{"Déjà Vu"}, {"Ça plane pour moi"}, {"Crazy in Love (feat. Jay-Z)"}, {"Señorita"}},
     {{"SENORITA feat. Someone.mp3"}, {"Singer - Crazy In Love.mp3"}, {"deja-vu.mp3"}, {"ca plane pour moi (live).mp3"}},
     {"deja-vu.mp3", "ca plane pour moi (live).mp3", "Singer - Crazy In Love.mp3", "SENORITA feat. Someone.mp3"}, {}},
    {"lengths alone", {{"Alpha", 0, 0, 44}, {"Bravo", 0, 0, 71}, {"Charlie", 0, 0, 21}},
     {{"kilo.mp3", {}, 20}, {"lima.mp3", {}, 46}, {"mike.mp3", {}, 70}},
     {"lima.mp3", "mike.mp3", "kilo.mp3"}, {}},
    {"a file too many goes to the end, a track too many stays free", fourTracks,
     {{"interview.mp3"}, {"04 Delta.mp3"}, {"02 Bravo.mp3"}, {"01 Alpha.mp3"}},
     {"01 Alpha.mp3", "02 Bravo.mp3", "", "04 Delta.mp3"}, {"interview.mp3"}},
    {"two files claim one track; the title settles it", fourTracks,
     {{"02 Charlie.mp3"}, {"02 Bravo.mp3"}, {"01 Alpha.mp3"}},
     {"01 Alpha.mp3", "02 Bravo.mp3", "02 Charlie.mp3", ""}, {}},
    {"a number in brackets counts only when nothing else does", {{"Alpha Song"}, {"Bravo Tune"}, {"Charlie Piece"}},
     {{"recording (3).mp3"}, {"Bravo Tune (1).mp3"}, {"Bravo Tune.mp3"}},
     {"", "Bravo Tune.mp3", "recording (3).mp3"}, {"Bravo Tune (1).mp3"}},
    {"a far-off length vetoes a loose title match", {{"Morning Light", 0, 0, 200}, {"Evening Shade", 0, 0, 60}},
     {{"morning lights demo.mp3", {}, 30}, {"evening shade.mp3", {}, 61}},
     {"", "evening shade.mp3"}, {"morning lights demo.mp3"}},
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.what; }

class LineupCases : public ::testing::TestWithParam<Case> {};

TEST_P(LineupCases, PairsFilesWithTracks)
{
    const Case &c = GetParam();
    QTemporaryDir dir;
    Session session;
    session.addAlbum(std::nullopt, album, {}, {}, {}, {}, QStringLiteral("1"));
    for (const TrackSpec &spec : c.tracks) {
        session.addTrack(spec.title, std::nullopt);
        const auto &track = session.tracks()->last();
        track->setDiscNumber(spec.disc ? std::optional(spec.disc) : std::nullopt);
        track->setNumberOnDisc(spec.number ? std::optional(spec.number) : std::nullopt);
        track->setLengthMs(spec.seconds ? std::optional<qint64>(spec.seconds * 1000) : std::nullopt);
    }
    session.albums()->first()->setTrackList(session.tracks());
    QStringList paths;
    for (const FileSpec &file : c.files) {
        paths.append(dir.filePath(file.name));
        const qint64 bytes = file.seconds ? file.seconds * Mp3Fixtures::bytesPerSecond : 8 * Mp3Fixtures::frameSize;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(paths.last()).path())
                    && (file.tags.isEmpty() ? Mp3Fixtures::writeMp3(paths.last(), bytes)
                                            : Mp3Fixtures::writeTaggedMp3(paths.last(), file.tags, bytes)));
    }
    session.setFiles(paths);
    JobControl control;
    const Lineup lineup = session.lineUp(*session.albums()->first())(control);

    const auto name = [&](const QString &path) { return QDir(dir.path()).relativeFilePath(path); };
    QStringList pairing;
    for (const int file : lineup.fileOfTrack)
        pairing.append(file < 0 ? QString() : name(paths[file]));
    QStringList unmatched;
    std::transform(lineup.order.begin() + lineup.matched, lineup.order.end(), std::back_inserter(unmatched), name);
    EXPECT_EQ(pairing, c.pairing) << c.what;
    EXPECT_EQ(unmatched, c.unmatched) << c.what;
    EXPECT_EQ(lineup.pairsByRow(), !c.pairing.mid(0, paths.size()).contains(QString())) << c.what;
    // The session lists the files in the new order, but never a line-up of other files.
    ASSERT_TRUE(session.takeLineup(lineup));
    EXPECT_EQ(*session.files(), lineup.order);
    session.removeRows(Session::List::files, {0});
    EXPECT_FALSE(session.takeLineup(lineup));
}

INSTANTIATE_TEST_SUITE_P(Lineup, LineupCases, ::testing::ValuesIn(cases));

TEST(Assignment, FindsTheCheapestPairingOfRectangularMatrices)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-9, 9);
    for (const auto &[rows, columns] : {std::pair{1, 1}, {3, 5}, {5, 3}, {6, 6}, {4, 7}, {7, 2}, {0, 3}, {3, 0}}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<double> cost(size_t(rows * columns));
            std::generate(cost.begin(), cost.end(), [&] { return value(random); });
            const auto at = [&](int r, int c) { return cost[size_t(r * columns + c)]; };
            // Every way of giving the smaller side distinct partners on the larger.
            const int small = std::min(rows, columns), large = std::max(rows, columns);
            std::vector<int> partner(static_cast<size_t>(large));
            std::iota(partner.begin(), partner.end(), 0);
            double best = 1e9;
            do {
                double total = 0;
                for (int i = 0; i < small; ++i)
                    total += rows <= columns ? at(i, partner[size_t(i)]) : at(partner[size_t(i)], i);
                best = std::min(best, total);
            } while (std::next_permutation(partner.begin(), partner.end()));
            const QList<int> found = cheapestAssignment(cost, rows, columns);
            double total = 0;
            QList<int> seen;
            for (int r = 0; r < rows; ++r) {
                if (found[r] >= 0) {
                    total += at(r, found[r]);
                    seen.append(found[r]);
                }
            }
            std::sort(seen.begin(), seen.end());
            EXPECT_EQ(seen.size(), small);
            EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end());
            EXPECT_EQ(total, small ? best : 0) << rows << "x" << columns;
        }
    }
}

TEST(NameNumber, ReadsTheNumberAndDiscFromAFilesPath)
{
    struct Row { const char *path; int disc, number, bracketed; const char *title; };
    const Row rows[] = {
        {"03 Title.mp3", 0, 3, 0, "Title"}, {"1-03 Title.mp3", 1, 3, 0, "Title"}, {"music/CD2/03.mp3", 2, 3, 0, ""},
        {"Disc 1/Track 07.mp3", 1, 7, 0, ""}, {"Artist - 05 - Title.mp3", 0, 5, 0, "Artist - Title"},
        {"12. Title.mp3", 0, 12, 0, "Title"}, {"1999 - Title.mp3", 0, 0, 0, "1999 - Title"},
        {"3am.mp3", 0, 0, 0, "3am"}, {"Artist - 7 Years.mp3", 0, 0, 0, "Artist - 7 Years"},
        {"Title (3).mp3", 0, 0, 3, "Title (3)"}, {"02 Title (3).mp3", 0, 2, 0, "Title (3)"},
    };
    for (const Row &row : rows) {
        const NameNumber read = NameNumber::fromPath(QString::fromUtf8(row.path));
        EXPECT_EQ(read.disc.value_or(0), row.disc) << row.path;
        EXPECT_EQ(read.number.value_or(0), row.number) << row.path;
        EXPECT_EQ(read.bracketed.value_or(0), row.bracketed) << row.path;
        EXPECT_EQ(read.title, QString::fromUtf8(row.title)) << row.path;
    }
}

TEST(TitleSimilarity, SetsCaseAccentsPunctuationAndGuestsAside)
{
    for (const auto &[title, plain] : {std::pair{"Déjà Vu (feat. Jay-Z)", "deja vu"}, {"Crazy in Love ft. Beyoncé", "crazy in love"},
                                       {"  Hello,   World! ", "hello world"}, {"Señorita [featuring X] Remix", "senorita remix"}})
        EXPECT_EQ(TitleSimilarity::normalised(QString::fromUtf8(title)), QString::fromUtf8(plain));
    EXPECT_EQ(TitleSimilarity(QStringLiteral("Déjà vu")).with(TitleSimilarity(QStringLiteral("DEJA-VU"))), 1.0);
    EXPECT_LT(TitleSimilarity(QStringLiteral("Alpha")).with(TitleSimilarity(QStringLiteral("Bravo"))), 0.2);
}

} // namespace
