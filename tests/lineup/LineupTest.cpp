// Lining files up with an album's tracks: the pairing found from tags, names, titles and
// lengths of generated MP3 files, the assignment under it, the reading of names, and the
// command line's lineup and tag --match.
#include "common/JobControl.h"
#include "files/MetadataKeys.h"
#include "files/FileHandler.h"
#include "lineup/Assignment.h"
#include "lineup/NameNumber.h"
#include "lineup/TitleSimilarity.h"
#include "session/Session.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"
#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

struct TrackGiven { QString title; int disc = 0, number = 0, seconds = 0; }; // 0: not known
struct FileGiven { QString name; QVariantMap tags = {}; int seconds = 0; };   // the name may start with a folder
// The files in the order listed; per track its file or "", then the files left at the end.
struct Case { const char *what; QList<TrackGiven> tracks; QList<FileGiven> files; QStringList pairing, unmatched; };

// TPOS and TRCK as a file may have them: "d" or "d/D", "t" or "t/T".
QVariantMap tags(const char *albumName, const char *disc, const char *number)
{
    return {{MetadataKeys::album, albumName}, {MetadataKeys::discNumber, disc}, {MetadataKeys::trackNumber, number}};
}
const QList<TrackGiven> twoDiscs{{"Alpha", 1, 1}, {"Bravo", 1, 2}, {"Charlie", 2, 1}, {"Delta", 2, 2}};
const QList<TrackGiven> fourTracks{{"Alpha"}, {"Bravo"}, {"Charlie"}, {"Delta"}};

const Case cases[] = {
    {"tags of this album (case and punctuation aside) name disc and number; another album's do not", twoDiscs,
     {{"song.mp3", tags("harbour songs!", "2", "2")}, {"misc.mp3", tags("Other Album", "1", "1")},
      {"take.mp3", tags("HARBOUR SONGS", "1/2", "2/2")}, {"item.mp3", tags("Harbour Songs", "2/2", "1/2")},
      {"file.mp3", tags("Harbour  Songs", "1", "1")}},
     {"file.mp3", "take.mp3", "item.mp3", "song.mp3"}, {"misc.mp3"}},
    {"numbers in names, with the disc in the name or the folder", twoDiscs,
     {{"CD2/01.mp3"}, {"Disc 2/02 Delta.mp3"}, {"Artist - 01 - Alpha.mp3"}, {"1-02 x.mp3"}},
     {"Artist - 01 - Alpha.mp3", "1-02 x.mp3", "CD2/01.mp3", "Disc 2/02 Delta.mp3"}, {}},
    {"titles with accents, punctuation and guest credits",
     {{"Déjà Vu"}, {"Ça plane pour moi"}, {"Crazy in Love (feat. Jay-Z)"}, {"Señorita"}},
     {{"SENORITA feat. Someone.mp3"}, {"Singer - Crazy In Love.mp3"}, {"deja-vu.mp3"}, {"ca plane pour moi (live).mp3"}},
     {"deja-vu.mp3", "ca plane pour moi (live).mp3", "Singer - Crazy In Love.mp3", "SENORITA feat. Someone.mp3"}, {}},
    {"lengths alone", {{"Alpha", 0, 0, 44}, {"Bravo", 0, 0, 71}, {"Charlie", 0, 0, 21}},
     {{"kilo.mp3", {}, 20}, {"lima.mp3", {}, 46}, {"mike.mp3", {}, 70}}, {"lima.mp3", "mike.mp3", "kilo.mp3"}, {}},
    {"a file too many goes to the end, a track too many stays free", fourTracks,
     {{"interview.mp3"}, {"04 Delta.mp3"}, {"02 Bravo.mp3"}, {"01 Alpha.mp3"}},
     {"01 Alpha.mp3", "02 Bravo.mp3", "", "04 Delta.mp3"}, {"interview.mp3"}},
    {"two files claim one track; the title settles it", fourTracks, {{"02 Charlie.mp3"}, {"02 Bravo.mp3"}, {"01 Alpha.mp3"}},
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
    session.addAlbum(std::nullopt, QStringLiteral("Harbour Songs"), {}, {}, {}, {}, QStringLiteral("1"));
    for (const TrackGiven &given : c.tracks) {
        session.addTrack(given.title, std::nullopt);
        const auto &track = session.tracks()->last();
        track->setDiscNumber(given.disc ? std::optional(given.disc) : std::nullopt);
        track->setNumberOnDisc(given.number ? std::optional(given.number) : std::nullopt);
        track->setLengthMs(given.seconds ? std::optional<qint64>(given.seconds * 1000) : std::nullopt);
    }
    session.albums()->first()->setTrackList(session.tracks());
    QStringList paths;
    for (const FileGiven &file : c.files) {
        paths.append(dir.filePath(file.name));
        const qint64 bytes = file.seconds ? file.seconds * Mp3Fixtures::bytesPerSecond : 8 * Mp3Fixtures::frameSize;
        ASSERT_TRUE(file.tags.isEmpty() ? Mp3Fixtures::writeMp3(paths.last(), bytes)
                                        : Mp3Fixtures::writeTaggedMp3(paths.last(), file.tags, bytes));
    }
    session.setFiles(paths);
    JobControl control;
    const Lineup lineup = session.lineUp(*session.albums()->first())(control);

    QStringList pairing;
    for (const int file : lineup.fileOfTrack)
        pairing.append(file < 0 ? QString() : c.files[file].name);
    EXPECT_EQ(pairing, c.pairing);
    EXPECT_EQ(lineup.order.mid(lineup.matched).replaceInStrings(dir.path() + u'/', QString()), c.unmatched);
    // The session lists the files in the new order, but never a line-up of other files.
    ASSERT_TRUE(session.takeLineup(lineup));
    EXPECT_EQ(session.listedFiles(), lineup.order);
    session.removeRows(Session::List::files, {int(session.files()->indexOf(lineup.order.first()))});
    EXPECT_FALSE(session.takeLineup(lineup));
}

INSTANTIATE_TEST_SUITE_P(Lineup, LineupCases, ::testing::ValuesIn(cases));

TEST(Assignment, FindsTheCheapestPairingOfRectangularMatrices)
{
    std::mt19937 random(7);
    for (const auto &[rows, columns] : {std::pair{1, 1}, {3, 5}, {5, 3}, {6, 6}, {4, 7}, {7, 2}, {0, 3}, {3, 0}}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<double> cost(size_t(rows * columns));
            std::generate(cost.begin(), cost.end(), [&] { return double(random() % 19) - 9; });
            const auto at = [&](int r, int c) { return cost[size_t(r * columns + c)]; };
            // Every way of giving each of the smaller side its own partner on the larger.
            std::vector<int> partner(static_cast<size_t>(std::max(rows, columns)));
            std::iota(partner.begin(), partner.end(), 0);
            double best = 1e9;
            do {
                double total = 0;
                for (int i = 0; i < std::min(rows, columns); ++i)
                    total += rows <= columns ? at(i, partner[size_t(i)]) : at(partner[size_t(i)], i);
                best = std::min(best, total);
            } while (std::next_permutation(partner.begin(), partner.end()));
            const QList<int> found = cheapestAssignment(cost, rows, columns);
            double total = 0;
            for (int r = 0; r < rows; ++r)
                total += found[r] >= 0 ? at(r, found[r]) : 0;
            const QSet<int> used(found.begin(), found.end());
            EXPECT_EQ(used.size() - used.contains(-1), std::min(rows, columns)) << "each row its own column";
            EXPECT_EQ(total, best) << rows << "x" << columns;
        }
    }
}

TEST(LineupClues, ReadNumbersFromPathsAndPlainTitles)
{
    // disc, number, bracketed number (0 for none) and the title left to compare
    for (const auto &[path, read] : {
             std::pair{"03 Title.mp3", "0 3 0 Title"}, {"1-03 Title.mp3", "1 3 0 Title"}, {"music/CD2/03.mp3", "2 3 0 "},
             {"Disc 1/Track 07.mp3", "1 7 0 "}, {"Artist - 05 - Title.mp3", "0 5 0 Artist - Title"},
             {"12. Title.mp3", "0 12 0 Title"}, {"1999 - Title.mp3", "0 0 0 1999 - Title"}, {"3am.mp3", "0 0 0 3am"},
             {"Artist - 7 Years.mp3", "0 0 0 Artist - 7 Years"}, {"Title (3).mp3", "0 0 3 Title (3)"},
             {"02 Title (3).mp3", "0 2 0 Title (3)"}}) {
        const NameNumber name = NameNumber::fromPath(QString::fromUtf8(path));
        EXPECT_EQ(QStringLiteral("%1 %2 %3 %4").arg(name.disc.value_or(0)).arg(name.number.value_or(0))
                      .arg(name.bracketed.value_or(0)).arg(name.title), QString::fromUtf8(read)) << path;
    }
    // Titles with case, accents, punctuation and guest credits set aside.
    for (const auto &[title, plain] : {std::pair{"Déjà Vu (feat. Jay-Z)", "deja vu"},
                                       {"Crazy in Love ft. Beyoncé", "crazy in love"}, {"  Hello,   World! ", "hello world"},
                                       {"Señorita [featuring X] Remix", "senorita remix"}})
        EXPECT_EQ(TitleSimilarity::normalised(QString::fromUtf8(title)), QString::fromUtf8(plain));
}

// The command line prints the pairing, and tags in it: a track without a file stays free.
TEST(LineupCommand, PrintsThePairingAndTagMatchWritesIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeBytes(dir.filePath("album.json"), R"({"albumName": "A", "trackList": [
        {"title": "Alpha", "discNumber": 1, "trackNumber": 1, "length": 1000},
        {"title": "Bravo", "discNumber": 1, "trackNumber": 2}, {"title": "Charlie", "trackNumber": 3}]})"));
    for (const char *name : {"02 Bravo.mp3", "01 Alpha.mp3", "notes.mp3"})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(name)));
    const auto run = [&](const QStringList &arguments) {
        return runCliWith(arguments, {.input = {}, .inChild = {}, .workingDirectory = dir.path()});
    };
    const auto track = [](int row, const char *title, const QJsonValue &file) {
        return QJsonObject{{"track", row}, {"disc", 1}, {"number", row + 1}, {"title", title}, {"file", file}};
    };

    const CliResult lineup = run({"lineup", "--album", "album.json", "02 Bravo.mp3", "01 Alpha.mp3", "notes.mp3"});
    EXPECT_TRUE(lineup.exitCode == 0 && lineup.err == "Lined up 2 of 3 files; 1 left at the end.\n")
        << lineup.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(lineup.out).object(),
              (QJsonObject{{"tracks", QJsonArray{track(0, "Alpha", "01 Alpha.mp3"), track(1, "Bravo", "02 Bravo.mp3"),
                                                 track(2, "Charlie", QJsonValue::Null)}},
                           {"unmatched", QJsonArray{"notes.mp3"}}}));
    // "notes.mp3" pairs with no track: Charlie stays free and the file takes its own name.
    const CliResult tagged = run({"tag", "--match", "--album", "album.json", "02 Bravo.mp3", "01 Alpha.mp3", "notes.mp3"});
    EXPECT_EQ(tagged.exitCode, 0) << tagged.err.toStdString();
    for (const auto &[name, title, number] : {std::tuple{"01 Alpha.mp3", "Alpha", 1}, {"02 Bravo.mp3", "Bravo", 2}, {"notes.mp3", "notes.mp3", 4}}) {
        const std::optional<TagValues> tags = FileHandler().readTags(dir.filePath(name));
        ASSERT_TRUE(tags) << name;
        EXPECT_EQ(std::pair(tags->title, tags->trackNumber), std::pair(QString(title), number)) << name;
    }
}

} // namespace
