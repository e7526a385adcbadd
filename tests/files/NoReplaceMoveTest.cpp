#include "files/NoReplaceMove.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The move itself, and the link-then-unlink one it falls back to.
const std::pair<const char *, int (*)(const QString &, const QString &)> moves[] = {
    {"rename", &NoReplaceMove::move}, {"link then unlink", &NoReplaceMove::moveByLink}};

} // namespace

TEST(NoReplaceMove, MovesOnlyToAFreeNameAndOtherwiseLeavesBothFiles)
{
    for (const auto &[name, move] : moves) {
        QTemporaryDir dir;
        writeFile(dir.filePath("a.mp3"), "mine");
        writeFile(dir.filePath("taken.mp3"), "theirs");
        EXPECT_EQ(move(dir.filePath("a.mp3"), dir.filePath("taken.mp3")), EEXIST) << name;
        EXPECT_EQ(move(dir.filePath("a.mp3"), dir.filePath(QString(300, u'x'))), ENAMETOOLONG) << name;
        EXPECT_EQ(readFile(dir.filePath("taken.mp3")), "theirs") << name;
        EXPECT_EQ(move(dir.filePath("a.mp3"), dir.filePath("b.mp3")), 0) << name;
        EXPECT_FALSE(QFile::exists(dir.filePath("a.mp3"))) << name;
        EXPECT_EQ(readFile(dir.filePath("b.mp3")), "mine") << name;
    }
}

TEST(NoReplaceMove, OfTwoFilesRacingForOneNameExactlyOneWins)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("target");
    for (const auto &[name, move] : moves) {
        for (int round = 0; round < 50; ++round) {
            for (const char *racer : {"first", "second"})
                writeFile(dir.filePath(racer), racer);
            std::atomic<bool> go{false};
            int results[2] = {-1, -1};
            const auto race = [&, move = move](int slot, const QString &from) {
                while (!go.load())
                    std::this_thread::yield();
                results[slot] = move(from, target);
            };
            std::thread one(race, 0, dir.filePath("first")), two(race, 1, dir.filePath("second"));
            go = true;
            one.join();
            two.join();
            ASSERT_EQ((results[0] == 0) + (results[1] == 0), 1) << name << ", round " << round;
            const char *loser = results[0] == 0 ? "second" : "first";
            EXPECT_EQ(readFile(dir.filePath(loser)), loser);
            EXPECT_EQ(readFile(target), results[0] == 0 ? "first" : "second");
            QFile::remove(target);
        }
    }
}
