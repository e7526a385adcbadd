#include "files/FolderListing.h"
#include "support/Mp3Fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FolderListing, OrdersPathsFolderByFolderWithNumbersByValue)
{
    // Each pair in the order a person reads it.
    const QList<std::pair<QString, QString>> ordered{
        {"/m/CD1/10 x.mp3", "/m/CD2/01 x.mp3"},
        {"/m/9 x.mp3", "/m/10 x.mp3"},
        {"/m/track7.mp3", "/m/track12.mp3"},
        {"/m/CD2/a.mp3", "/m/CD10/a.mp3"},
        {"/m/disc 1/z.mp3", "/m/disc 1 bonus/a.mp3"},   // a folder's files stay together
        {"/m/a/z.mp3", "/m/a-b/a.mp3"},
        {"/m/apple.mp3", "/m/Banana.mp3"},                // case aside
        {"/m/01.mp3", "/m/1.mp3"},                        // equal values still have an order
        {"/m/x.mp3", "/m/x1.mp3"},
        {"/m/99999999999999999999 a.mp3", "/m/100000000000000000000 a.mp3"},   // beyond 64 bits
    };
    for (const auto &[first, second] : ordered) {
        EXPECT_TRUE(FolderListing::naturallyBefore(first, second)) << first.toStdString();
        EXPECT_FALSE(FolderListing::naturallyBefore(second, first)) << second.toStdString();
    }
    EXPECT_FALSE(FolderListing::naturallyBefore("/m/a.mp3", "/m/a.mp3"));
}

TEST(FolderListing, AFolderGivesTheMp3FilesAtEveryDepthInNaturalOrder)
{
    QTemporaryDir dir;
    for (const char *name : {"Album/CD2/01 a.mp3", "Album/CD1/10 b.mp3", "Album/CD1/9 c.mp3",
                             "Album/CD1/Extra/deep/.hidden.mp3", "Album/cover.mp3", "loose.mp3"})
        ASSERT_TRUE(QDir().mkpath(QFileInfo(dir.filePath(name)).path()) && Mp3Fixtures::writeMp3(dir.filePath(name)));
    QStringList files = FolderListing::filesIn({dir.filePath("Album"), dir.filePath("loose.mp3")});
    FolderListing::sortNaturally(files);
    QStringList expected;
    for (const char *name : {"Album/CD1/9 c.mp3", "Album/CD1/10 b.mp3", "Album/CD1/Extra/deep/.hidden.mp3",
                             "Album/CD2/01 a.mp3", "Album/cover.mp3", "loose.mp3"})
        expected.append(dir.filePath(name));
    EXPECT_EQ(files, expected);
}
