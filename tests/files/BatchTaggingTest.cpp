// Tagging a list of files from one album.
#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"

#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<Track> track(const char *title, std::optional<QString> artist)
{
    auto result = std::make_shared<Track>();
    result->setTitle(QString::fromUtf8(title));
    result->setArtist(std::move(artist));
    return result;
}

class BatchTaggingTest : public ::testing::Test {
protected:
    BatchTaggingTest()
        : observer(QVStatusChangedNotification, [this](const QString &, const void *, const QVariantMap &info) {
              statuses.append(info.value(QVStatusKey).toString());
          })
    {
        album.setArtistName(QStringLiteral("Album Artist"));
        album.setAlbumName(QStringLiteral("Album"));
        album.setGenre(QStringLiteral("Jazz"));
        album.setYearOfPublication(QStringLiteral("1998"));
        album.setLabel(QStringLiteral("Label"));
        album.setNumberOfDiscs(2);
    }

    QStringList files(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths.append(dir.filePath(QStringLiteral("file%1.mp3").arg(i + 1)));
            EXPECT_TRUE(Mp3Fixtures::writeMp3(paths.last(), 4 * Mp3Fixtures::frameSize, quint32(i + 1)));
        }
        return paths;
    }
    QVariantMap read(const QString &path) { return handler.readMetaDataFromMp3File(path); }

    QTemporaryDir dir;
    FileHandler handler;
    ResultEntry album;
    QStringList statuses;
    ScopedObserver observer;
};

} // namespace

TEST_F(BatchTaggingTest, PairsFilesWithTracksByPosition)
{
    auto tracks = std::make_shared<TrackList>(TrackList{track("One", QStringLiteral("First")), track("Two", std::nullopt),
                                                        track("Three", QStringLiteral("")), track("Four", QStringLiteral("X")),
                                                        track("Five", QStringLiteral("Y"))});
    const QStringList paths = files(3);
    handler.tagFiles(paths, tracks, album);
    const QVariantMap first = read(paths[0]);
    EXPECT_EQ(first.value(QVTitleTag).toString(), "One");
    EXPECT_EQ(first.value(QVArtistTrackTag).toString(), "First");
    EXPECT_EQ(first.value(QVArtistAlbumTag).toString(), "Album Artist");
    EXPECT_EQ(first.value(QVAlbumTag).toString(), "Album");
    EXPECT_EQ(first.value(QVGenreTag).toString(), "Jazz");
    EXPECT_EQ(first.value(QVYearTag).toString(), "1998");
    EXPECT_EQ(first.value(QVTrackNoTag).toString(), "1");
    EXPECT_EQ(first.value(QVTrackCountTag).toString(), "5");
    EXPECT_EQ(first.value(QVDiscsTag).toString(), "2");
    // A track without an artist keeps the previous file's; an empty artist stays empty.
    EXPECT_EQ(read(paths[1]).value(QVArtistTrackTag).toString(), "First");
    EXPECT_EQ(read(paths[2]).value(QVArtistTrackTag).toString(), "");
    EXPECT_EQ(read(paths[2]).value(QVTrackNoTag).toString(), "3");
    EXPECT_EQ(MutagenTool::dump(paths[0])["frames"].toObject()["TPOS"][0]["text"][0].toString(), "2/2");
    EXPECT_EQ(statuses, (QStringList{"Tagging new files. 1 files processed.", "Tagging new files. 2 files processed.",
                                     "Tagging new files. 3 files processed."}));
}

TEST_F(BatchTaggingTest, FilesBeyondTheTracksTakeTheirNames)
{
    auto tracks = std::make_shared<TrackList>(TrackList{track("One", std::nullopt), track("Two", std::nullopt),
                                                        track("Three", QStringLiteral("Guest"))});
    const QStringList paths = files(5);
    handler.tagFiles(paths, tracks, album);
    EXPECT_EQ(read(paths[0]).value(QVArtistTrackTag).toString(), "Album Artist");
    const QVariantMap fifth = read(paths[4]);
    EXPECT_EQ(fifth.value(QVTitleTag).toString(), "file5.mp3");
    EXPECT_EQ(fifth.value(QVTrackNoTag).toString(), "5");
    EXPECT_EQ(fifth.value(QVTrackCountTag).toString(), "3");
    EXPECT_EQ(fifth.value(QVArtistTrackTag).toString(), "Guest");

    const QStringList more = files(2);
    handler.tagFiles(more, nullptr, album);
    EXPECT_EQ(read(more[1]).value(QVTitleTag).toString(), "file2.mp3");
    EXPECT_EQ(read(more[1]).value(QVArtistTrackTag).toString(), "Album Artist");
    EXPECT_EQ(read(more[1]).value(QVTrackCountTag).toString(), "2");

    handler.tagFiles(more, std::make_shared<TrackList>(), album);
    EXPECT_EQ(read(more[1]).value(QVTrackCountTag).toString(), "");
    EXPECT_EQ(read(more[1]).value(QVTrackNoTag).toString(), "2");

    statuses.clear();
    handler.tagFiles({}, tracks, album);
    EXPECT_TRUE(statuses.isEmpty());
}

TEST_F(BatchTaggingTest, EveryFileGetsTheSameSingleCover)
{
    QImage cover(60, 60, QImage::Format_RGB32);
    cover.fill(Qt::red);
    album.setCover(cover);
    // More files than one flush takes, so several batches are committed.
    const QStringList paths = files(40);
    handler.tagFiles(paths, nullptr, album);
    QString firstPicture;
    for (const QString &path : {paths.first(), paths.last()}) {
        const QJsonArray pictures = MutagenTool::dump(path)["pictures"].toArray();
        ASSERT_EQ(pictures.size(), 1) << path.toStdString();
        EXPECT_TRUE(pictures[0]["jpeg"].toBool());
        EXPECT_EQ(pictures[0]["type"].toInt(), 3);
        if (firstPicture.isEmpty())
            firstPicture = pictures[0]["sha1"].toString();
        EXPECT_EQ(pictures[0]["sha1"].toString(), firstPicture);
    }
    EXPECT_EQ(read(paths.last()).value(QVCoverTag).value<QImage>().size(), QSize(60, 60));
    EXPECT_EQ(read(paths.last()).value(QVTrackNoTag).toString(), "40");
    EXPECT_EQ(statuses.size(), 40);

    // Without a cover the pictures already in the files stay.
    album.setCover(std::nullopt);
    handler.tagFiles(paths.mid(0, 1), nullptr, album);
    EXPECT_EQ(MutagenTool::dump(paths.first())["pictures"][0]["sha1"].toString(), firstPicture);
}
