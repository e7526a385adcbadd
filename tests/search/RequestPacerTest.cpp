// Pacing of MusicBrainz requests across pacers that share a pace file, as processes do, on a
// clock the test moves.
#include "search/musicbrainz/PaceFile.h"
#include "search/musicbrainz/RequestPacer.h"
#include "support/FakeClock.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr std::chrono::milliseconds interval{1000};

} // namespace

TEST(RequestPacer, SpacesTurnsAcrossPacersSharingAFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pace"));
    FakeClock clock;
    // Two processes' pacers on one machine, taking turns.
    RequestPacer first(file, clock);
    RequestPacer second(file, clock);
    QList<qint64> starts;
    for (RequestPacer *pacer : {&first, &second, &first, &second}) {
        ASSERT_TRUE(pacer->awaitTurn(interval, {}));
        starts.append(clock.nowMs());
    }
    for (qsizetype i = 1; i < starts.size(); ++i)
        EXPECT_EQ(starts[i] - starts[i - 1], 1000) << i;

    // Time that passed on its own counts: a turn a second later needs no wait.
    clock.advance(1000);
    const qint64 slept = clock.slept();
    EXPECT_TRUE(first.awaitTurn(interval, {}));
    EXPECT_EQ(clock.slept(), slept);

    // A cancel while waiting claims nothing: the next turn is still a second after the last.
    EXPECT_FALSE(second.awaitTurn(interval, [] { return true; }));
    EXPECT_TRUE(second.awaitTurn(interval, {}));
    EXPECT_EQ(clock.slept() - slept, 1000);
}

TEST(RequestPacer, AFileLeftBehindNeverHoldsATurnLonger)
{
    QTemporaryDir dir;
    FakeClock clock;
    // What a crash or a clock set back may leave: no time, a broken one, one far ahead.
    const QList<std::pair<const char *, QByteArray>> leftovers{
        {"empty", ""},
        {"broken", "12345"},
        {"ahead", QByteArray::number(clock.nowMs() + 3'600'000).rightJustified(20, '0') + '\n'},
    };
    for (const auto &[what, bytes] : leftovers) {
        const QString file = dir.filePath(QLatin1String(what));
        ASSERT_TRUE(writeBytes(file, bytes));
        RequestPacer pacer(file, clock);
        const qint64 slept = clock.slept();
        EXPECT_TRUE(pacer.awaitTurn(interval, {}));
        EXPECT_EQ(clock.slept(), slept) << what;
        // The file now holds the turn just taken.
        EXPECT_EQ(readBytes(file).trimmed().toLongLong(), clock.nowMs()) << what;
    }

    // Without a file to keep the time in, a pacer still spaces out its own turns.
    RequestPacer alone(dir.filePath(QStringLiteral("no/such/folder/pace")), clock);
    const qint64 before = clock.nowMs();
    EXPECT_TRUE(alone.awaitTurn(interval, {}) && alone.awaitTurn(interval, {}));
    EXPECT_EQ(clock.nowMs() - before, 1000);
}

TEST(RequestPacer, KeepsItsFileInTheUsersOwnFolder)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(PaceFile::defaultPath(), runtime.filePath(QStringLiteral("tagwright-musicbrainz.pace")));
    // A runtime folder others may write is not taken; the temporary folder's own one is.
    QFile(runtime.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::WriteOther);
    EXPECT_TRUE(PaceFile::defaultPath().endsWith(QStringLiteral("/musicbrainz.pace")));
    EXPECT_FALSE(PaceFile::defaultPath().startsWith(runtime.path()));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(PaceFile::defaultPath().startsWith(QDir::tempPath() + QStringLiteral("/tagwright-")));
}
