// What a failed flush or rename leaves of a file, each system call failing in turn.
#include "files/DurableWriteBatch.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

int failWithIoError(int)
{
    errno = EIO;
    return -1;
}

int failRename(int, const char *, int, const char *)
{
    errno = EIO;
    return -1;
}

} // namespace

TEST(DurableWriteBatchTest, FailedFlushOrRenameSaysWhatBecameOfTheFile)
{
    using Left = DurableWriteBatch::Left;
    DurableWriteBatch::SystemCalls failingSync, failingFolderSync, failingRename;
    failingSync.syncfs = failWithIoError;
    failingFolderSync.fsync = failWithIoError;
    failingRename.renameat = failRename;
    const QByteArray old = "old contents of the file";
    struct Case { const char *name; DurableWriteBatch::SystemCalls calls; bool inPlace; Left left; QByteArray after; QString reason; };
    const QList<Case> cases = {
        {"flush of a new file", failingSync, false, Left::AsItWas, old, "could not write it to disk"},
        {"flush in place", failingSync, true, Left::PiecesUncertain, "NEW contents of the file", "could not write it to disk"},
        {"rename", failingRename, false, Left::AsItWas, old, "could not replace the old file"},
        {"flush of the folder", failingFolderSync, false, Left::NewNotDurable, "NEW old contents of the file",
         "could not write its folder to disk"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("song.flac");
        ASSERT_TRUE(writeBytes(path, old));
        FileContentsPlan plan(old.size());
        plan.appendBytes("NEW ");
        plan.appendRange(c.inPlace ? 4 : 0, old.size() - (c.inPlace ? 4 : 0));
        DurableWriteBatch batch(c.calls);
        QString reason;
        ASSERT_TRUE(batch.stage(path, plan, &reason)) << c.name;
        const QList<DurableWriteBatch::Failure> failures = batch.commit();
        ASSERT_EQ(failures.size(), 1) << c.name;
        EXPECT_EQ(failures.first().left, c.left) << c.name;
        EXPECT_TRUE(failures.first().reason.startsWith(c.reason)) << c.name << failures.first().reason.toStdString();
        EXPECT_EQ(readBytes(path), c.after) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"song.flac"}) << c.name;
    }
}
