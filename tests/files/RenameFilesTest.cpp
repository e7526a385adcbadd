#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"
#include "files/FileFailureNotification.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "support/Mp3Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Lets failing comparisons show paths as text.
static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QVariantMap song(const QString &trackNo, const QString &title)
{
    return {{QVArtistAlbumTag, QStringLiteral("Band")}, {QVArtistTrackTag, QStringLiteral("Singer")},
            {QVAlbumTag, QStringLiteral("Record")},     {QVTitleTag, title},
            {QVTrackNoTag, trackNo},                    {QVYearTag, QStringLiteral("2004")}};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RenameFilesTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    FileHandler handler;
    QStringList statusLines;
    QStringList failedPaths;
    QStringList failureReasons;
    ScopedObserver statusObserver{QVStatusChangedNotification,
                                  [this](const QString &, const void *sender, const QVariantMap &info) {
                                      if (sender == &handler)
                                          statusLines.append(info.value(QVStatusKey).toString());
                                  }};
    ScopedObserver failureObserver{QVFileFailedNotification,
                                   [this](const QString &, const void *sender, const QVariantMap &info) {
                                       if (sender == &handler) {
                                           failedPaths.append(info.value(QVFailedPathKey).toString());
                                           failureReasons.append(info.value(QVFailureReasonKey).toString());
                                       }
                                   }};

    qsizetype progressLines() const
    {
        return statusLines.filter(QStringLiteral("New file renamed.")).size();
    }

    QString path(const QString &relative) const { return root.filePath(relative); }

    QString tagged(const QString &relative, const QVariantMap &tags, quint32 seed = 1)
    {
        QDir(root.path()).mkpath(QFileInfo(relative).path());
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(path(relative), tags, 8 * Mp3Fixtures::frameSize, seed));
        return path(relative);
    }

    // Every file below the temporary folder, relative to it, sorted.
    QStringList tree() const
    {
        QStringList files;
        QDirIterator it(root.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(root.path()).relativeFilePath(it.next()));
        files.sort();
        return files;
    }
};

} // namespace

TEST_F(RenameFilesTest, MovesEachFileToItsMaskNameAndUpdatesTheList)
{
    QStringList files{tagged(QStringLiteral("a.mp3"), song(QStringLiteral("7"), QStringLiteral("Intro"))),
                      tagged(QStringLiteral("b.mp3"), song(QString(), QString()))};
    handler.renameFiles(files, QStringLiteral("%n - %t"));

    // A missing track number gives 00, a missing title an empty insertion.
    EXPECT_EQ(files, QStringList({path(QStringLiteral("07 - Intro.mp3")), path(QStringLiteral("00 - .mp3"))}));
    EXPECT_EQ(tree(), QStringList({QStringLiteral("00 - .mp3"), QStringLiteral("07 - Intro.mp3")}));
    EXPECT_EQ(statusLines, QStringList({QStringLiteral("New file renamed. 1 files processed."),
                                        QStringLiteral("New file renamed. 2 files processed.")}));
}

TEST_F(RenameFilesTest, CreatesTheMasksFoldersBelowTheFilesFolder)
{
    QDir(root.path()).mkpath(QStringLiteral("in/Band"));  // an existing folder is used as it is
    QStringList files{tagged(QStringLiteral("in/1.mp3"), song(QStringLiteral("1"), QStringLiteral("One"))),
                      tagged(QStringLiteral("in/2.mp3"), song(QStringLiteral("2"), QStringLiteral("AC/DC Live")))};
    const QString mask = QStringLiteral("%a/%b/%n - %t");
    EXPECT_EQ(handler.buildPreviewForFiles(files, mask), u"Band/Record/01 - One");
    handler.renameFiles(files, mask);

    // A "/" inside a value becomes ":" so that only the mask opens folders.
    EXPECT_EQ(files, QStringList({path(QStringLiteral("in/Band/Record/01 - One.mp3")),
                                  path(QStringLiteral("in/Band/Record/02 - AC:DC Live.mp3"))}));
    EXPECT_TRUE(QFile::exists(files.at(0)) && QFile::exists(files.at(1)));
    // Renaming again by a mask without folders finds every file already under its name.
    const QStringList renamed = files;
    handler.renameFiles(files, QStringLiteral("%n - %t"));
    EXPECT_EQ(files, renamed);
    EXPECT_TRUE(failedPaths.isEmpty());
}

TEST_F(RenameFilesTest, PreviewShowsValuesUnchangedAndTheMaskForAnUntaggedFile)
{
    const QString first = tagged(QStringLiteral("a.mp3"), song(QStringLiteral("2"), QStringLiteral("AC/DC %y")));
    EXPECT_EQ(handler.buildPreviewForFiles({first}, QStringLiteral("%n - %t")), u"02 - AC/DC 2004");
    EXPECT_EQ(handler.buildPreviewForFiles({}, QStringLiteral("%n - %t")), u"--");
    EXPECT_EQ(handler.buildPreviewForFiles({first}, QString()), u"--");

    ASSERT_TRUE(Mp3Fixtures::writeMp3(path(QStringLiteral("plain.mp3"))));
    EXPECT_EQ(handler.buildPreviewForFiles({path(QStringLiteral("plain.mp3")), first}, QStringLiteral("%n - %t")),
              u"%n - %t");
    EXPECT_TRUE(statusLines.isEmpty());
}

TEST_F(RenameFilesTest, NeverOverwritesAndAFileThatCannotMoveKeepsItsPath)
{
    // Two untagged files both resolve to the mask itself; the second finds the name taken.
    ASSERT_TRUE(Mp3Fixtures::writeMp3(path(QStringLiteral("x.mp3")), 8 * Mp3Fixtures::frameSize, 1));
    ASSERT_TRUE(Mp3Fixtures::writeMp3(path(QStringLiteral("y.mp3")), 8 * Mp3Fixtures::frameSize, 2));
    const QString taken = tagged(QStringLiteral("z.mp3"), song(QStringLiteral("7"), QStringLiteral("Intro")), 3);
    ASSERT_TRUE(QFile::copy(taken, path(QStringLiteral("07 - Intro.mp3"))));
    const QByteArray x = contents(path(QStringLiteral("x.mp3"))), y = contents(path(QStringLiteral("y.mp3"))),
                     z = contents(taken);

    QStringList files{path(QStringLiteral("x.mp3")), path(QStringLiteral("y.mp3")), taken};
    handler.renameFiles(files, QStringLiteral("%n - %t"));

    EXPECT_EQ(files, QStringList({path(QStringLiteral("%n - %t.mp3")), path(QStringLiteral("y.mp3")), taken}));
    EXPECT_EQ(contents(files.at(0)), x);
    EXPECT_EQ(contents(files.at(1)), y);
    EXPECT_EQ(contents(files.at(2)), z);
    EXPECT_EQ(contents(path(QStringLiteral("07 - Intro.mp3"))), z);
    EXPECT_EQ(failedPaths, QStringList({path(QStringLiteral("y.mp3")), taken}));
    const QString reason = QStringLiteral("a file of the new name exists already (new name \"%1\")")
                               .arg(path(QStringLiteral("%n - %t.mp3")));
    EXPECT_EQ(failureReasons.value(0), reason);
    // Each failure shows in the status line before the file's progress line.
    EXPECT_EQ(statusLines.mid(1, 2),
              QStringList({QStringLiteral("Could not rename %1: %2. The file was left as it was.")
                               .arg(path(QStringLiteral("y.mp3")), reason),
                           QStringLiteral("New file renamed. 2 files processed.")}));
    EXPECT_EQ(progressLines(), 3);
}

TEST_F(RenameFilesTest, NamesThatAreEmptyOrDotsSkipTheFileButCountIt)
{
    QVariantMap emptyTitle = song(QStringLiteral("1"), QString());
    QVariantMap dots = song(QStringLiteral("2"), QStringLiteral(".."));
    QVariantMap dot = song(QStringLiteral("3"), QStringLiteral("x"));
    dot[QVArtistAlbumTag] = QStringLiteral(".");
    QStringList files{tagged(QStringLiteral("in/1.mp3"), emptyTitle), tagged(QStringLiteral("in/2.mp3"), dots),
                      tagged(QStringLiteral("in/3.mp3"), dot)};
    const QStringList expected{files.at(0), files.at(1), path(QStringLiteral("in/x.mp3"))};

    // The third file has a usable title; as a folder, its "." album artist is refused.
    handler.renameFiles(files, QStringLiteral("%t"));
    handler.renameFiles(files, QStringLiteral("%a/%t"));
    handler.renameFiles(files, QString());

    EXPECT_EQ(files, expected);
    EXPECT_EQ(tree(), QStringList({QStringLiteral("in"), QStringLiteral("in/1.mp3"), QStringLiteral("in/2.mp3"),
                                   QStringLiteral("in/x.mp3")}));
    EXPECT_EQ(progressLines(), 9);
    EXPECT_EQ(failedPaths.size(), 8);
}

TEST_F(RenameFilesTest, TagValuesNeverLeadOutOfTheFilesFolder)
{
    QVariantMap climbing = song(QStringLiteral("1"), QStringLiteral("../../escaped"));
    climbing[QVArtistAlbumTag] = QStringLiteral("../..");
    QStringList files{tagged(QStringLiteral("in/deep/1.mp3"), climbing)};
    handler.renameFiles(files, QStringLiteral("%a/%t"));
    EXPECT_EQ(files.at(0), path(QStringLiteral("in/deep/..:../..:..:escaped.mp3")));
    EXPECT_TRUE(QFile::exists(files.at(0)));
}

TEST_F(RenameFilesTest, AFileWithoutExtensionGetsNoTrailingDot)
{
    QStringList files{tagged(QStringLiteral("track"), song(QStringLiteral("7"), QStringLiteral("Intro"))),
                      tagged(QStringLiteral("other."), song(QStringLiteral("8"), QStringLiteral("Outro")))};
    handler.renameFiles(files, QStringLiteral("%n - %t"));
    EXPECT_EQ(files, QStringList({path(QStringLiteral("07 - Intro")), path(QStringLiteral("08 - Outro"))}));
}

TEST_F(RenameFilesTest, ANameTooLongForTheFileSystemLeavesFileAndFoldersAsTheyWere)
{
    const QString original = tagged(QStringLiteral("a.mp3"), song(QStringLiteral("1"), QString(300, u'x')));
    const QByteArray bytes = contents(original);
    QStringList files{original};
    handler.renameFiles(files, QStringLiteral("%a/%b/%t"));
    EXPECT_EQ(files.at(0), original);
    EXPECT_EQ(contents(original), bytes);
    // The folders made for the move are taken away again.
    EXPECT_EQ(tree(), QStringList({QStringLiteral("a.mp3")}));
    ASSERT_EQ(failureReasons.size(), 1);
    EXPECT_TRUE(failureReasons.at(0).contains(QStringLiteral("longer than the file system allows")));

    // A too-long folder name fails at the folder, just as cleanly.
    files = {original};
    handler.renameFiles(files, QStringLiteral("%t/%n"));
    EXPECT_EQ(failureReasons.size(), 2);
    EXPECT_EQ(files.at(0), original);
    EXPECT_EQ(tree(), QStringList({QStringLiteral("a.mp3")}));
}
