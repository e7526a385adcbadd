#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"
#include "support/StatusRecorder.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QVariantMap song(const QString &trackNo, const QString &title, const QString &albumArtist = QStringLiteral("Band"))
{
    return {{MetadataKeys::albumArtist, albumArtist}, {MetadataKeys::album, QStringLiteral("Record")}, {MetadataKeys::title, title},
            {MetadataKeys::trackNumber, trackNo}};
}

class RenameFilesTest : public ::testing::Test {
protected:
    QString path(const QString &relative) const { return root.filePath(relative); }
    QString tagged(const QString &relative, const QVariantMap &tags)
    {
        QDir(root.path()).mkpath(QFileInfo(relative).path());
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(path(relative), tags));
        return path(relative);
    }
    // Every file and folder below the temporary folder, relative to it, sorted.
    QStringList tree() const
    {
        QStringList entries;
        QDirIterator it(root.path(), QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            entries.append(QDir(root.path()).relativeFilePath(it.next()));
        entries.sort();
        return entries;
    }

    QTemporaryDir root;
    FileHandler handler;
    StatusRecorder statuses;
};

} // namespace

TEST_F(RenameFilesTest, MovesEachFileToItsMaskNameInFoldersBelowItsOwn)
{
    QDir(root.path()).mkpath("in/Band");   // an existing folder is used as it is
    // Values may not open or climb folders; a missing track number gives 00.
    QStringList files{tagged("in/1.mp3", song("2", "AC/DC", "../..")), tagged("in/2.mp3", song("7", "Intro")),
                      tagged("in/3.mp3", song("", "")), tagged("in/track", song("8", "Outro"))};
    const QString mask = "%a/%b/%n - %t";
    EXPECT_EQ(handler.buildPreviewForFiles(files, mask), "../../Record/02 - AC/DC");
    EXPECT_EQ(handler.buildPreviewForFiles({}, mask), "--");
    EXPECT_EQ(handler.buildPreviewForFiles(files, ""), "--");
    handler.renameFiles(files, mask, &statuses.control);

    const QStringList expected{"in/..:../Record/02 - AC:DC.mp3", "in/Band/Record/07 - Intro.mp3",
                               "in/Band/Record/00 - .mp3", "in/Band/Record/08 - Outro"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(files.value(i), path(expected[i]));
    EXPECT_EQ(tree(), (QStringList{"in", "in/..:..", "in/..:../Record", expected[0], "in/Band", "in/Band/Record",
                                   expected[2], expected[1], expected[3]}));
    EXPECT_TRUE(statuses.lines.size() == 4 && statuses.lines.last() == "New file renamed. 4 files processed.");
    // Renaming by a mask without folders finds every file already under its name; the one
    // without a value for it is left as it is.
    handler.renameFiles(files, "%n - %t", &statuses.control);
    EXPECT_EQ(files.value(1), path(expected[1]));
    EXPECT_EQ(statuses.lines.filter("Could not rename"),
              QStringList({"Could not rename " + path(expected[2]) + ": has no tags to name it by; left as it is."}));

    // A disc number makes a folder; without one that folder drops out, in the preview too.
    QVariantMap onDisc = song("3", "y");
    onDisc.insert({{MetadataKeys::discNumber, "2"}, {MetadataKeys::discCount, "2"}});
    QStringList discFiles{tagged("d/1.mp3", song("3", "x")), tagged("d/2.mp3", onDisc)};
    EXPECT_EQ(handler.buildPreviewForFiles(discFiles, "%b/%d/%n - %t"), "Record/03 - x");
    handler.renameFiles(discFiles, "%b/%d/%n - %t");
    EXPECT_EQ(discFiles, (QStringList{path("d/Record/03 - x.mp3"), path("d/Record/2/03 - y.mp3")}));
}

TEST_F(RenameFilesTest, AFileWhoseNameIsRefusedKeepsItAndLeavesNoNewFolders)
{
    const QString file = tagged("in/1.mp3", {});
    // An empty name, a "." folder, ".." as a name, a name or a folder too long for the file system.
    const QList<std::pair<QVariantMap, QString>> cases{
        {song("1", ""), "%t"}, {song("1", "x", "."), "%a/%t"}, {song("1", ".."), "%t"},
        {song("1", QString(300, u'x')), "%b/%t"}, {song("1", QString(300, u'x')), "%b/%t/%n"}};
    for (const auto &[tags, mask] : cases) {
        ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(file, tags));
        QStringList files{file};
        handler.renameFiles(files, mask, &statuses.control);
        EXPECT_EQ(files.at(0), file) << mask.toStdString();
        EXPECT_EQ(tree(), (QStringList{"in", "in/1.mp3"})) << mask.toStdString();
    }
    // Each failure shows in the status line before the file's progress line.
    const QStringList failures = statuses.lines.filter("Could not rename " + file + ": ");
    EXPECT_EQ(failures.size(), cases.size());
    EXPECT_TRUE(failures.last().contains("longer than the file system allows"));
    EXPECT_EQ(statuses.lines.size(), 2 * cases.size());
    EXPECT_EQ(statuses.lines.last(), "New file renamed. 1 files processed.");
}
