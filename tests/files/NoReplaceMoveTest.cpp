#include "files/NoReplaceMove.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
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

using MoveFunction = int (*)(const QString &, const QString &);

class NoReplaceMoveTest : public ::testing::TestWithParam<MoveFunction> {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

} // namespace

TEST_P(NoReplaceMoveTest, MovesToAFreeName)
{
    writeFile(path("a.mp3"), "audio");
    EXPECT_EQ(GetParam()(path("a.mp3"), path("b.mp3")), 0);
    EXPECT_FALSE(QFile::exists(path("a.mp3")));
    EXPECT_EQ(readFile(path("b.mp3")), "audio");
}

TEST_P(NoReplaceMoveTest, NeverReplacesAnExistingFile)
{
    writeFile(path("a.mp3"), "mine");
    writeFile(path("b.mp3"), "theirs");
    EXPECT_EQ(GetParam()(path("a.mp3"), path("b.mp3")), EEXIST);
    EXPECT_EQ(readFile(path("a.mp3")), "mine");
    EXPECT_EQ(readFile(path("b.mp3")), "theirs");
}

TEST_P(NoReplaceMoveTest, AnOverlongNameFailsAndTheFileStays)
{
    writeFile(path("a.mp3"), "audio");
    EXPECT_EQ(GetParam()(path("a.mp3"), dir.filePath(QString(300, u'x') + QStringLiteral(".mp3"))), ENAMETOOLONG);
    EXPECT_EQ(readFile(path("a.mp3")), "audio");
}

TEST_P(NoReplaceMoveTest, OfTwoFilesRacingForOneNameExactlyOneWins)
{
    for (int round = 0; round < 50; ++round) {
        writeFile(path("first"), "first");
        writeFile(path("second"), "second");
        std::atomic<bool> go{false};
        int results[2] = {-1, -1};
        const auto racer = [&](int slot, const QString &from) {
            while (!go.load())
                std::this_thread::yield();
            results[slot] = GetParam()(from, path("target"));
        };
        std::thread one(racer, 0, path("first"));
        std::thread two(racer, 1, path("second"));
        go = true;
        one.join();
        two.join();

        ASSERT_EQ((results[0] == 0) + (results[1] == 0), 1) << "round " << round;
        const char *loser = results[0] == 0 ? "second" : "first";
        EXPECT_EQ(readFile(path(loser)), loser);
        EXPECT_EQ(readFile(path("target")), results[0] == 0 ? "first" : "second");
        QFile::remove(path("target"));
        QFile::remove(path(loser));
    }
}

INSTANTIATE_TEST_SUITE_P(RenameAndLinkFallback, NoReplaceMoveTest,
                         ::testing::Values(&NoReplaceMove::move, &NoReplaceMove::moveByLink),
                         [](const ::testing::TestParamInfo<MoveFunction> &info) {
                             return std::string(info.param == &NoReplaceMove::move ? "Rename" : "LinkThenUnlink");
                         });

TEST(NoReplaceMove, AMoveToAnotherFileSystemFailsCleanly)
{
    QTemporaryDir here;
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/tagwright-XXXXXX"));
    struct stat a{}, b{};
    if (!elsewhere.isValid() || ::stat(QFile::encodeName(here.path()).constData(), &a) != 0
        || ::stat(QFile::encodeName(elsewhere.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system at hand";

    writeFile(here.filePath(QStringLiteral("a.mp3")), "audio");
    EXPECT_EQ(NoReplaceMove::move(here.filePath(QStringLiteral("a.mp3")), elsewhere.filePath(QStringLiteral("a.mp3"))),
              EXDEV);
    EXPECT_EQ(readFile(here.filePath(QStringLiteral("a.mp3"))), "audio");
    EXPECT_FALSE(QFile::exists(elsewhere.filePath(QStringLiteral("a.mp3"))));
    EXPECT_FALSE(NoReplaceMove::describeError(EXDEV).isEmpty());
}
