#include "files/NoReplaceMove.h"
#include "support/Mp3Fixtures.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

namespace {

// The move itself, and the link-then-unlink one it falls back to. Files are told apart by
// their sizes: one frame or two.
constexpr qint64 frame = Mp3Fixtures::frameSize;
const std::pair<const char *, int (*)(const QString &, const QString &)> moves[] = {
    {"rename", &NoReplaceMove::move}, {"link then unlink", &NoReplaceMove::moveByLink}};

} // namespace

TEST(NoReplaceMove, MovesOnlyToAFreeNameAndOfTwoRacingForOneExactlyOneWins)
{
    for (const auto &[name, move] : moves) {
        QTemporaryDir dir;
        const QString a = dir.filePath("a"), b = dir.filePath("b"), target = dir.filePath("target");
        ASSERT_TRUE(Mp3Fixtures::writeMp3(a, 1) && Mp3Fixtures::writeMp3(target, 2 * frame));
        EXPECT_EQ(move(a, target), EEXIST) << name;
        EXPECT_EQ(QList<qint64>({QFileInfo(a).size(), QFileInfo(target).size()}), QList<qint64>({frame, 2 * frame})) << name;
        for (int round = 0; round < 50; ++round) {
            ASSERT_TRUE(QFile::remove(target) && Mp3Fixtures::writeMp3(a, 1) && Mp3Fixtures::writeMp3(b, 2 * frame));
            std::atomic<bool> go{false};
            int results[2] = {-1, -1};
            const auto race = [&, move = move](int slot, const QString &from) {
                while (!go.load())
                    std::this_thread::yield();
                results[slot] = move(from, target);
            };
            std::thread one(race, 0, a), two(race, 1, b);
            go = true;
            one.join();
            two.join();
            ASSERT_EQ((results[0] == 0) + (results[1] == 0), 1) << name << ", round " << round;
            EXPECT_EQ(QFileInfo(target).size(), results[0] == 0 ? frame : 2 * frame);
            EXPECT_EQ(QFileInfo(results[0] == 0 ? b : a).size(), results[0] == 0 ? 2 * frame : frame);
        }
    }
}
