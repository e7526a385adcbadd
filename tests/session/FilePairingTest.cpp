// The file rows beside the track rows: what a line-up, a drag and a deletion make of them.
#include "session/FilePairing.h"

#include <gtest/gtest.h>

namespace {

// Rows written as letters, "-" for a free slot.
QStringList rows(const char *letters)
{
    QStringList list;
    for (const char *letter = letters; *letter; ++letter)
        list.append(*letter == '-' ? QString() : QString(QChar(*letter)));
    return list;
}

} // namespace

TEST(FilePairingTest, RowsFollowTheTracksAndTheirEditsKeepEveryOtherPair)
{
    const struct {
        const char *before;
        int tracks;
        std::function<void(QStringList &, int)> edit;
        const char *after;
    } cases[] = {
        // Aligned: slots up to the tracks, none past them.
        {"AB", 4, [](QStringList &r, int t) { FilePairing::align(r, t); }, "AB--"},
        {"A--BC", 2, [](QStringList &r, int t) { FilePairing::align(r, t); }, "A-BC"},
        // Between rows, rows move as dragged and the slots with them.
        {"ABCD", 0, [](QStringList &r, int t) { FilePairing::moveRows(r, {0, 2}, 1, false, t); }, "ACBD"},
        {"ABCD", 0, [](QStringList &r, int t) { FilePairing::moveRows(r, {0, 2}, 4, false, t); }, "BDAC"},
        {"AB-D", 4, [](QStringList &r, int t) { FilePairing::moveRows(r, {3}, 1, false, t); }, "ADB-"},
        // Onto a slot, a file takes it and leaves a slot in its track's row.
        {"A-C", 3, [](QStringList &r, int t) { FilePairing::moveRows(r, {0}, 1, true, t); }, "-AC"},
        {"A--D", 3, [](QStringList &r, int t) { FilePairing::moveRows(r, {3}, 1, true, t); }, "AD-"},
        // Deleted, a track's file leaves its slot; a file without a track goes.
        {"ABCD", 3, [](QStringList &r, int t) { FilePairing::removeRows(r, {1, 3}, t); }, "A-C"},
    };
    for (const auto &c : cases) {
        QStringList list = rows(c.before);
        c.edit(list, c.tracks);
        EXPECT_EQ(list, rows(c.after)) << c.before << " -> " << c.after;
    }
    const QStringList paired = rows("A-CDE");
    EXPECT_EQ(FilePairing::filesOf(paired), rows("ACDE"));
    EXPECT_EQ(FilePairing::freeTracks(paired, 3), 1);
    EXPECT_EQ(FilePairing::filesWithoutTrack(paired, 3), 2);
}

TEST(FilePairingTest, ALineUpPutsEachFileBesideItsTrackAndTheRestAfter)
{
    Lineup lineup;
    lineup.fileOfTrack = {2, -1, 0};
    lineup.order = rows("CAB");
    lineup.matched = 2;
    EXPECT_EQ(FilePairing::rowsOfLineup(lineup), rows("C-AB"));
}
