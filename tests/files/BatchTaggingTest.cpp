// Tagging a list of files from one album.
#include "common/JobControl.h"
#include "files/DurableWriteBatch.h"
#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"
#include "support/StatusRecorder.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

std::shared_ptr<Track> track(const QString &title, std::optional<QString> artist = std::nullopt)
{
    auto result = std::make_shared<Track>();
    result->setTitle(title);
    result->setArtist(std::move(artist));
    return result;
}

class BatchTaggingTest : public ::testing::Test {
protected:
    BatchTaggingTest()
    {
        album.setArtistName(QStringLiteral("Album Artist"));
        album.setAlbumName(QStringLiteral("Album"));
        album.setGenre(QStringLiteral("Jazz"));
        album.setYearOfPublication(QStringLiteral("1998"));
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
    QStringList values(const QString &path, const QStringList &keys)
    {
        const QVariantMap tags = MetadataKeys::toMap(handler.readTags(path));
        QStringList texts;
        for (const QString &key : keys)
            texts.append(tags.value(key).toString());
        return texts;
    }

    QTemporaryDir dir;
    FileHandler handler;
    ResultEntry album;
    StatusRecorder statuses;
};

} // namespace

TEST_F(BatchTaggingTest, PairsFilesWithTracksByPositionAndGivesEachTheSameCover)
{
    album.setCover(QImage::fromData(Mp3Fixtures::jpegPicture(60, 60)));
    // A track without an artist keeps the previous file's; an empty artist stays empty;
    // files beyond the tracks take their own names. More files than one flush takes, so
    // that the batch is committed more than once.
    const QStringList paths = files(70);
    handler.tagFiles(paths, std::make_shared<TrackList>(TrackList{track("One", "First"), track("Two"), track("Three", "")}),
                     album, &statuses.control);
    const QList<QStringList> expected{{"One", "First", "1"}, {"Two", "First", "2"}, {"Three", "", "3"}, {"file70.mp3", "", "70"}};
    for (int i : {0, 1, 2, 69})
        EXPECT_EQ(values(paths[i], {MetadataKeys::title, MetadataKeys::trackArtist, MetadataKeys::trackNumber}), expected[qMin(i, 3)]);
    EXPECT_EQ(values(paths[69], {MetadataKeys::albumArtist, MetadataKeys::album, MetadataKeys::genre, MetadataKeys::year, MetadataKeys::trackCount, MetadataKeys::discCount}),
              QStringList({"Album Artist", "Album", "Jazz", "1998", "3", "2"}));
    EXPECT_TRUE(statuses.lines.size() == 70 && statuses.lines.last() == "Tagging new files. 70 files processed.");
    const QJsonArray pictures = MutagenTool::dump(paths.first())["pictures"].toArray();
    ASSERT_TRUE(pictures.size() == 1 && pictures[0]["jpeg"].toBool() && pictures[0]["type"].toInt() == 3);
    EXPECT_EQ(MutagenTool::dump(paths.last())["pictures"].toArray(), pictures);

    // Without a track list every title is the file's name and the artist the album's;
    // without a cover the pictures already in the files stay.
    album.setCover(std::nullopt);
    handler.tagFiles(paths.mid(0, 2), nullptr, album);
    EXPECT_EQ(values(paths[1], {MetadataKeys::title, MetadataKeys::trackArtist, MetadataKeys::trackCount}), QStringList({"file2.mp3", "Album Artist", "2"}));
    EXPECT_EQ(MutagenTool::dump(paths.first())["pictures"].toArray(), pictures);
    handler.tagFiles(paths.mid(0, 2), std::make_shared<TrackList>(), album);
    EXPECT_EQ(values(paths[1], {MetadataKeys::trackCount}), QStringList{""});
    statuses.lines.clear();
    handler.tagFiles({}, nullptr, album, &statuses.control);
    EXPECT_TRUE(statuses.lines.isEmpty());
}

TEST_F(BatchTaggingTest, TracksThatKnowTheirDiscAreNumberedPerDiscAndCarryTheirIdentifiers)
{
    // The album claims one disc, fewer than its tracks say; a bonus track was added by hand,
    // and the fifth file has no track. The first file holds identifiers of an earlier tagger.
    album.setNumberOfDiscs(1);
    album.setId(QStringLiteral("release"));
    album.setReleaseGroupId(QStringLiteral("group"));
    album.setAlbumArtistId(QStringLiteral("band"));
    album.setAsinNumber(QStringLiteral("B0TW000002"));
    auto list = std::make_shared<TrackList>();
    for (const auto &[disc, number] : {std::pair{1, 1}, {1, 2}, {2, 1}}) {
        const QString n = QStringLiteral("%1.%2").arg(disc).arg(number);
        list->append(track("Track " + n, "Artist"));
        list->last()->setDiscNumber(disc);
        list->last()->setNumberOnDisc(number);
        list->last()->setArtistId("artist " + n);
        list->last()->setTrackId("track " + n);
        list->last()->setRecordingId("recording " + n);
    }
    list->append(track("Bonus"));
    const QStringList paths = files(5);
    const QJsonObject stale{{"id", "TXXX"}, {"desc", "MUSICBRAINZ ALBUM ID"}, {"text", QJsonArray{"stale"}}};
    ASSERT_TRUE(MutagenTool::write(paths[0], {{"v2", 4}, {"frames", QJsonArray{stale, QJsonObject{{"id", "UFID"},
        {"owner", "http://musicbrainz.org"}, {"data", "stale"}}}}}));
    handler.tagFiles(paths, list, album);

    const auto frame = [](const QJsonObject &dump, const char *id) { return dump["frames"][id][0]["text"][0].toString(); };
    const QJsonObject albumIds{{"MusicBrainz Album Id", QJsonArray{QJsonArray{"release"}}},
        {"MusicBrainz Release Group Id", QJsonArray{QJsonArray{"group"}}},
        {"MusicBrainz Album Artist Id", QJsonArray{QJsonArray{"band"}}}, {"ASIN", QJsonArray{QJsonArray{"B0TW000002"}}}};
    const QList<QStringList> expected{{"1/2", "1/2", "1.1"}, {"1/2", "2/2", "1.2"}, {"2/2", "1/1", "2.1"},
                                      {"1/1", "4/4", ""}, {"1/1", "5/4", ""}};
    for (int i = 0; i < 5; ++i) {
        const QJsonObject dump = MutagenTool::dump(paths[i]);
        const QString n = expected[i][2];
        QJsonObject ids = albumIds;
        if (!n.isEmpty()) {
            ids.insert("MusicBrainz Artist Id", QJsonArray{QJsonArray{"artist " + n}});
            ids.insert("MusicBrainz Release Track Id", QJsonArray{QJsonArray{"track " + n}});
        }
        EXPECT_EQ((QStringList{frame(dump, "TPOS"), frame(dump, "TRCK")}), expected[i].mid(0, 2)) << i;
        EXPECT_EQ(dump["txxx"].toObject(), ids) << i;
        const QJsonObject recording{{"http://musicbrainz.org", QJsonArray{"recording " + n}}};
        EXPECT_EQ(dump["ufid"].toObject(), n.isEmpty() ? QJsonObject() : recording) << i;
    }
    EXPECT_EQ(values(paths[2], {MetadataKeys::discNumber, QStringLiteral("MusicBrainzRecordingId"), QStringLiteral("ASIN")}), QStringList({"2", "recording 2.1", "B0TW000002"}));

    // An album without identifiers takes away those of the earlier one; so does removing tags.
    handler.tagFiles(paths.mid(0, 1), nullptr, ResultEntry());
    const QJsonObject retagged = MutagenTool::dump(paths[0]);
    EXPECT_TRUE(retagged["txxx"].toObject().isEmpty() && retagged["ufid"].toObject().isEmpty());
    handler.removeTags(paths.mid(1, 1));
    EXPECT_TRUE(MutagenTool::dump(paths[1])["txxx"].toObject().isEmpty());
}

TEST_F(BatchTaggingTest, ACancelledBatchCommitsTheFilesDoneAndLeavesTheRestByteForByte)
{
    // Cancelled while the batch holds staged files that are not in place yet.
    const QStringList paths = files(50);
    JobControl control([&](qint64 done, qint64 total) {
        if (done == 20 && total == 50)
            control.requestCancel();
    });
    EXPECT_EQ(handler.tagFiles(paths, nullptr, album, &control).filesChanged(), 20);
    EXPECT_EQ(control.done(), 20);
    for (int i : {0, 19})
        EXPECT_EQ(values(paths[i], {MetadataKeys::trackNumber}), QStringList{QString::number(i + 1)});
    for (int i = 20; i < 50; ++i) {
        QFile file(paths[i]);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll() == Mp3Fixtures::audio(4 * Mp3Fixtures::frameSize, quint32(i + 1))) << i;
    }
}

TEST_F(BatchTaggingTest, AFileListedTwiceEndsWithTheValuesOfItsLastPosition)
{
    // A long title needs the file rebuilt; a short one fits into the old tag in place. The
    // second entry spells the same path differently; the name is as long as names get.
    const QString longTitle(3000, u'L');
    for (const QStringList &titles : {QStringList{longTitle, "Short"}, QStringList{"Short", longTitle}}) {
        const QString name = QString(251, u'n') + ".mp3", path = dir.filePath(name);
        ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(path, {{MetadataKeys::title, QStringLiteral("Old")}}));
        handler.tagFiles({path, dir.path() + "/./" + name},
                         std::make_shared<TrackList>(TrackList{track(titles[0]), track(titles[1])}), album);
        EXPECT_EQ(values(path, {MetadataKeys::title, MetadataKeys::trackNumber}), QStringList({titles[1], "2"}));
    }
}

TEST_F(BatchTaggingTest, AWriteRemovesOnlyDeadProcessesNewFilesAndNeverAFilePutAtThePathMeanwhile)
{
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const QString leftover = QStringLiteral(".file1.mp3.%1-0123abcd.tagwright-new");
    const QStringList kept{leftover.arg(::getpid()), ".notes.tagwright-new", "file1.mp3"};
    for (const QString &name : {leftover.arg(dead), kept[0], kept[1]})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(name)));

    const QString path = files(1).first();
    FileContentsPlan rebuilt(QFileInfo(path).size());
    rebuilt.appendBytes("new");
    rebuilt.appendRange(0, QFileInfo(path).size());
    DurableWriteBatch batch;
    QString reason;
    ASSERT_TRUE(batch.stage(path, rebuilt, &reason));
    // Another file takes the old one's name before the new one is put in place.
    ASSERT_TRUE(QFile::remove(path) && Mp3Fixtures::writeMp3(path, 1));
    const QList<DurableWriteBatch::Failure> failures = batch.commit();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0].left, DurableWriteBatch::Left::AsItWas);
    EXPECT_EQ(QFileInfo(path).size(), Mp3Fixtures::frameSize);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), kept);
}
