// Undo and history on the real program, each run with a journal of its own: every operation
// taken back newest first, byte for byte and name for name, in each format; files changed
// since left as they are; a run killed part-way taken back exactly.
#include "journal/Journal.h"
#include "journal/JournalEntry.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"
#include "support/TestFiles.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class UndoCommandTest : public ::testing::Test {
protected:
    CliResult run(const QStringList &arguments, const std::function<void()> &inChild = {})
    {
        CliInvocation invocation{.input = {}, .inChild = inChild, .workingDirectory = dir.path()};
        invocation.environment.insert("XDG_DATA_HOME", dataHome.path());
        return runCliWith(arguments, invocation);
    }
    // Every file under the folder by its relative path, with its contents.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            files.insert(QDir(dir.path()).relativeFilePath(path), readBytes(path));
        }
        return files;
    }
    QStringList folders() const { return QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

    QTemporaryDir dir;
    QTemporaryDir dataHome;
};

} // namespace

TEST_F(UndoCommandTest, TakesBackTagRenameAndUntagNewestFirstInEveryFormat)
{
    for (const QString format : {"mp3", "flac", "ogg", "m4a"}) {
        const QStringList files{"a." + format, "b." + format};
        for (const QString &name : files) {
            const QString path = dir.filePath(name);
            ASSERT_TRUE(format == "mp3" ? Mp3Fixtures::writeTaggedMp3(path, {{"Title", "Old " + name}})
                                        : QFile::copy(QStringLiteral(TAGWRIGHT_TEST_DATA_DIR "/formats/") +
                                                          (format == "m4a" ? "has-tags.m4a" : "tone." + format), path));
        }
        writeBytes(dir.filePath("album.json"), R"({"albumName": "Alb", "trackList": [{"title": "One"}, {"title": "Two"}]})");
        QList<QMap<QString, QByteArray>> states{snapshot()};
        ASSERT_EQ(run(QStringList{"tag", "--album", "album.json"} + files).exitCode, 0) << format.toStdString();
        states.append(snapshot());
        ASSERT_EQ(run(QStringList{"rename", "--mask", "%b/%t"} + files).exitCode, 0);
        states.append(snapshot());
        ASSERT_EQ(run({"untag", "Alb/One." + format, "Alb/Two." + format}).exitCode, 0);
        for (qsizetype i = states.size() - 1; i >= 0; --i) {
            const CliResult undo = run({"undo"});
            EXPECT_TRUE(undo.exitCode == 0 && undo.out.contains("2 restored, 0 left")) << undo.out.toStdString();
            EXPECT_EQ(snapshot(), states.at(i)) << format.toStdString() << " after undo " << states.size() - i;
        }
        // The folder the rename made went with it.
        EXPECT_TRUE(folders().isEmpty()) << folders().join(' ').toStdString();
        const CliResult nothing = run({"undo"});
        EXPECT_TRUE(nothing.exitCode == 1 && nothing.err == "tagwright-cli undo: nothing to undo\n") << nothing.err.toStdString();
        QStringList history;
        for (const QJsonValue entry : QJsonDocument::fromJson(run({"history"}).out).array())
            history.append(QStringLiteral("%1 %2 %3").arg(entry["what"].toString()).arg(entry["files"].toInt()).arg(entry["undone"].toBool() ? "undone" : "not undone"));
        EXPECT_EQ(history.mid(0, 3), (QStringList{"Remove tags 2 undone", "Rename files 2 undone", "Tag files 2 undone"}));
        for (const QString &name : files)
            QFile::remove(dir.filePath(name));
    }
}

TEST_F(UndoCommandTest, FilesChangedSinceAreNamedAndLeftAsTheyAre)
{
    for (const QString name : {"a.mp3", "b.mp3"})
        ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(dir.filePath(name), {{"Title", "Old"}, {"ArtistAlbum", "Band"}}));
    const QByteArray oldA = readBytes(dir.filePath("a.mp3"));
    writeBytes(dir.filePath("album.json"), R"({"albumName": "New"})");
    ASSERT_EQ(run({"tag", "--album", "album.json", "a.mp3", "b.mp3"}).exitCode, 0);
    // Another program changes b's tag, its size kept.
    QByteArray edited = readBytes(dir.filePath("b.mp3"));
    edited.replace("New", "Own");
    writeBytes(dir.filePath("b.mp3"), edited);
    const CliResult undo = run({"undo"});
    EXPECT_EQ(undo.exitCode, 1);
    EXPECT_TRUE(undo.err.contains("b.mp3: changed since it was tagged; left as it is") && !undo.err.contains("a.mp3"))
        << undo.err.toStdString();
    EXPECT_EQ(readBytes(dir.filePath("a.mp3")), oldA);
    EXPECT_EQ(readBytes(dir.filePath("b.mp3")), edited);

    // A rename is taken back only where the old name is free.
    ASSERT_EQ(run({"rename", "--mask", "%a %t", "a.mp3"}).exitCode, 0);
    writeBytes(dir.filePath("a.mp3"), "a new file of the old name");
    const CliResult taken = run({"undo"});
    EXPECT_TRUE(taken.exitCode == 1 && taken.err.contains("Band Old.mp3: its old name a.mp3 is taken; left as it is"))
        << taken.err.toStdString();
    EXPECT_EQ(readBytes(dir.filePath("Band Old.mp3")), oldA);
}

TEST_F(UndoCommandTest, ARunKilledPartWayIsTakenBackExactly)
{
    // Tagging writes 64 files and makes them durable before the next ones; the 68th file is
    // too large for the size limit, and writing it kills the program.
    QStringList files;
    for (int i = 0; i < 70; ++i) {
        files.append(QStringLiteral("%1.mp3").arg(i, 2, 10, QLatin1Char('0')));
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(files.last()), i == 67 ? 1 << 20 : 8 * Mp3Fixtures::frameSize, i));
    }
    writeBytes(dir.filePath("album.json"), R"({"albumName": "Alb"})");
    const QMap<QString, QByteArray> before = snapshot();
    ASSERT_TRUE(run(QStringList{"tag", "--album", "album.json"} + files, fileSizeLimit(512 << 10, false)).crashed);
    const QMap<QString, QByteArray> killed = snapshot();
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ(killed.value(files[i]) == before.value(files[i]), i >= 64) << i;
    const CliResult undo = run({"undo"});
    EXPECT_EQ(undo.exitCode, 0) << undo.err.toStdString();
    EXPECT_EQ(snapshot(), before);
}

TEST(JournalTest, PrunesEntriesBeyondTheSizeOrAgeOldestFirst)
{
    QTemporaryDir dir;
    const Journal journal(dir.path(), {.maxAgeDays = 90, .maxBytes = 600});
    for (int i = 0; i < 4; ++i) {
        QString reason;
        ASSERT_TRUE(journal.begin(Journal::Operation::renameFiles)->recordRename(QString(100, QChar(u'a' + i)), "b", {}, &reason));
    }
    QFile oldest(dir.filePath(QDir(dir.path()).entryList(QDir::Files, QDir::Name).first()));
    ASSERT_TRUE(oldest.open(QIODevice::ReadWrite) && oldest.setFileTime(QDateTime::currentDateTime().addDays(-91), QFileDevice::FileModificationTime));
    oldest.close();
    // Four entries of about 300 bytes: the one too old goes, then the next until 600 bytes are left.
    journal.begin(Journal::Operation::tagFiles);
    QStringList kept;
    for (const EntryFile::Contents &entry : journal.history())
        kept.append(entry.fileName);
    EXPECT_EQ(kept.size(), 2);
    EXPECT_EQ(kept, QDir(dir.path()).entryList(QDir::Files, QDir::Name | QDir::Reversed).mid(0, 2));
}
