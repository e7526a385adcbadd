// Writing and removing tags, checked with an independent reader (mutagen) and byte by byte.
#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"
#include "files/FileFailureNotification.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using MutagenTool::textFrame;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ino_t inode(const QString &path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_ino;
}

QVariantMap albumMetadata()
{
    QImage cover(30, 20, QImage::Format_RGB32);
    cover.fill(Qt::darkGreen);
    return {
        {QVArtistTrackTag, QString::fromUtf8("Trąck Ärtist")}, {QVArtistAlbumTag, "Album Artist"},
        {QVAlbumTag, "Album"}, {QVTitleTag, QString::fromUtf8("Tïtle")}, {QVYearTag, "2004-05"},
        {QVTrackNoTag, "3"}, {QVTrackCountTag, "12"}, {QVDiscsTag, "2"},
        {QVGenreTag, QStringList{"Rock"}}, {QVLabelTag, "Label Not Written"},
        {QVCoverTag, QVariantList{QVariantMap{{QVPictureImageKey, cover}, {QVPictureTypeKey, "Cover (front)"},
                                              {QVPictureMimeTypeKey, "image/jpeg"}, {QVPictureDescriptionKey, ""}}}},
    };
}

QStringList texts(const QJsonObject &dump, const char *frameId)
{
    QStringList result;
    for (const QJsonValue &frame : dump["frames"][frameId].toArray())
        for (const QJsonValue &text : frame["text"].toArray())
            result.append(text.toString());
    return result;
}

class TagWritingTest : public ::testing::Test {
protected:
    TagWritingTest()
        : statusObserver(QVStatusChangedNotification,
                         [this](const QString &, const void *, const QVariantMap &info) {
                             statuses.append(info.value(QVStatusKey).toString());
                         }),
          failureObserver(QVFileFailedNotification, [this](const QString &, const void *, const QVariantMap &info) {
              failures.append(info.value(QVFailedPathKey).toString());
          })
    {
    }

    QString untagged(const char *name, quint32 seed = 1)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(Mp3Fixtures::writeMp3(path, 8 * Mp3Fixtures::frameSize, seed));
        return path;
    }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    QTemporaryDir dir;
    FileHandler handler;
    QStringList statuses;
    QStringList failures;
    ScopedObserver statusObserver;
    ScopedObserver failureObserver;
};

} // namespace

TEST_F(TagWritingTest, WrittenTagReadsBackInMutagenAndKeepsTheAudio)
{
    const QString path = untagged("song.mp3");
    const QByteArray audio = contents(path);
    handler.writeMetaData(albumMetadata(), path);

    const QJsonObject dump = MutagenTool::dump(path);
    EXPECT_EQ(dump["v2"].toArray(), (QJsonArray{2, 4, 0}));
    EXPECT_EQ(texts(dump, "TPE1"), QStringList{QString::fromUtf8("Trąck Ärtist")});
    EXPECT_EQ(texts(dump, "TPE2"), QStringList{"Album Artist"});
    EXPECT_EQ(dump["frames"]["TPE2"].toArray().size(), 1);
    EXPECT_EQ(texts(dump, "TALB"), QStringList{"Album"});
    EXPECT_EQ(texts(dump, "TIT2"), QStringList{QString::fromUtf8("Tïtle")});
    EXPECT_EQ(texts(dump, "TDRC"), QStringList{"2004"});
    EXPECT_EQ(texts(dump, "TRCK"), QStringList{"3/12"});
    EXPECT_EQ(texts(dump, "TPOS"), QStringList{"2/2"});
    EXPECT_EQ(texts(dump, "TCON"), QStringList{"Rock"});
    for (const char *id : {"TPE1", "TPE2", "TALB", "TIT2"})
        EXPECT_EQ(dump["frames"][id][0]["encoding"].toInt(), 3) << id;   // UTF-8
    EXPECT_TRUE(dump["comments"].toArray().isEmpty());
    ASSERT_EQ(dump["pictures"].toArray().size(), 1);
    const QJsonObject picture = dump["pictures"][0].toObject();
    EXPECT_TRUE(picture["jpeg"].toBool());
    EXPECT_EQ(picture["mime"].toString(), "image/jpeg");
    EXPECT_EQ(picture["type"].toInt(), 3);
    EXPECT_EQ(picture["desc"].toString(), "");
    EXPECT_TRUE(dump["v1"].isNull());   // none created
    EXPECT_FALSE(contents(path).contains("Label Not Written"));

    const QByteArray written = contents(path);
    EXPECT_TRUE(written.endsWith(audio));

    // The second write fits into the first tag: in place, one album artist frame still.
    const ino_t before = inode(path);
    QVariantMap again = albumMetadata();
    again.insert(QVTitleTag, "Other");
    handler.writeMetaData(again, path);
    EXPECT_EQ(inode(path), before);
    EXPECT_EQ(contents(path).size(), written.size());
    EXPECT_TRUE(contents(path).endsWith(audio));
    const QJsonObject second = MutagenTool::dump(path);
    EXPECT_EQ(second["frames"]["TPE2"].toArray().size(), 1);
    EXPECT_EQ(texts(second, "TIT2"), QStringList{"Other"});
    EXPECT_EQ(second["pictures"].toArray().size(), 1);
    EXPECT_EQ(entries(), QStringList{"song.mp3"});
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(TagWritingTest, AlbumArtistStandsInAndNumbersFollowTheirTexts)
{
    const QString path = untagged("song.mp3");
    QVariantMap metadata = albumMetadata();
    metadata.remove(QVArtistTrackTag);
    metadata.remove(QVCoverTag);
    metadata.insert(QVDiscsTag, "3");
    metadata.insert(QVYearTag, "");
    handler.writeMetaData(metadata, path);
    const QJsonObject dump = MutagenTool::dump(path);
    EXPECT_EQ(texts(dump, "TPE1"), QStringList{"Album Artist"});
    EXPECT_EQ(texts(dump, "TPE2"), QStringList{"Album Artist"});
    EXPECT_EQ(texts(dump, "TPOS"), QStringList{"3/3"});
    EXPECT_TRUE(texts(dump, "TDRC").isEmpty());
    EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVYearTag).toString(), "");

    // An empty track artist is written as it is, not replaced by the album artist.
    metadata.insert(QVArtistTrackTag, "");
    handler.writeMetaData(metadata, path);
    EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVArtistTrackTag).toString(), "");
    EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVArtistAlbumTag).toString(), "Album Artist");
}

TEST_F(TagWritingTest, KeepsForeignFramesAndPicturesAndEmptiesTheComment)
{
    const QString path = untagged("song.mp3");
    QFile jpeg(dir.filePath("cover.jpg"));
    ASSERT_TRUE(jpeg.open(QIODevice::WriteOnly));
    jpeg.write(Mp3Fixtures::jpegPicture(50, 40));
    jpeg.close();
    ASSERT_TRUE(MutagenTool::write(path, {{"v2", 3}, {"v1", true}, {"frames", QJsonArray{
        textFrame("TCOM", {"A Composer"}), textFrame("TPE2", {"Old One"}), textFrame("TIT2", {"Old"}),
        QJsonObject{{"id", "COMM"}, {"text", QJsonArray{"a comment"}}},
        QJsonObject{{"id", "APIC"}, {"file", jpeg.fileName()}, {"type", 4}, {"desc", "back"}}}}}));
    const QByteArray audio = Mp3Fixtures::audio();
    const QJsonObject before = MutagenTool::dump(path);
    ASSERT_EQ(before["comments"].toArray().size(), 1);

    QVariantMap metadata = albumMetadata();
    metadata.remove(QVCoverTag);
    handler.writeMetaData(metadata, path);
    const QJsonObject dump = MutagenTool::dump(path);
    EXPECT_EQ(dump["v2"].toArray(), (QJsonArray{2, 4, 0}));
    EXPECT_EQ(texts(dump, "TCOM"), QStringList{"A Composer"});
    EXPECT_EQ(texts(dump, "TPE2"), QStringList{"Album Artist"});
    EXPECT_EQ(dump["pictures"], before["pictures"]);
    EXPECT_TRUE(dump["comments"].toArray().isEmpty());
    // The ID3v1 tag follows the new values.
    EXPECT_EQ(dump["v1"]["TIT2"].toArray(), QJsonArray{QString::fromUtf8("Tïtle")});
    EXPECT_EQ(dump["v1"]["TRCK"].toArray(), QJsonArray{"3"});
    const QByteArray written = contents(path);
    EXPECT_TRUE(written.chopped(128).endsWith(audio));
    EXPECT_TRUE(written.right(128).startsWith("TAG"));

    // Growing the tag rewrites the file; the foreign frames come along.
    metadata.insert(QVTitleTag, QString(5000, u'y'));
    handler.writeMetaData(metadata, path);
    const QJsonObject grown = MutagenTool::dump(path);
    EXPECT_EQ(grown["pictures"], before["pictures"]);
    EXPECT_EQ(texts(grown, "TCOM"), QStringList{"A Composer"});
    EXPECT_TRUE(contents(path).chopped(128).endsWith(audio));
}

TEST_F(TagWritingTest, DamagedOrForeignFilesAreLeftUntouched)
{
    // A tag header whose size bytes are not synch-safe, one that claims more than the file
    // holds, an unknown tag version, and a file that is no MP3 at all.
    const QByteArray audio = Mp3Fixtures::audio();
    const QList<QByteArray> damaged = {
        QByteArray("ID3\x04\x00\x00\x00\x00\x81\x00", 10) + audio,
        QByteArray("ID3\x04\x00\x00\x00\x7f\x7f\x7f", 10) + audio,
        QByteArray("ID3\x07\x00\x00\x00\x00\x01\x00", 10) + QByteArray(128, 'x') + audio,
        QByteArray("%PDF-1.4 not audio at all") + QByteArray(4000, 'p'),
    };
    QStringList paths;
    for (qsizetype i = 0; i < damaged.size(); ++i) {
        paths.append(dir.filePath(QStringLiteral("bad%1.mp3").arg(i)));
        QFile file(paths.last());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged.at(i));
    }
    for (const QString &path : paths)
        handler.writeMetaData(albumMetadata(), path);
    handler.deleteTagsInMp3Files(paths);
    for (qsizetype i = 0; i < damaged.size(); ++i)
        EXPECT_EQ(contents(paths.at(i)), damaged.at(i)) << i;
    EXPECT_EQ(failures.size(), 2 * paths.size());
    EXPECT_EQ(entries().size(), paths.size());
    EXPECT_TRUE(statuses.first().contains(paths.first()));
}

TEST_F(TagWritingTest, FoldersAndPipesAreNeitherOpenedNorWritten)
{
    // A pipe would block the reader if it were opened; both are refused before opening.
    const QString folder = dir.filePath("folder.mp3");
    const QString pipe = dir.filePath("pipe.mp3");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {folder, pipe}) {
        EXPECT_TRUE(handler.readMetaDataFromMp3File(path).isEmpty());
        handler.writeMetaData(albumMetadata(), path);
        EXPECT_TRUE(statuses.last().contains(QStringLiteral("not a regular file"))) << statuses.last().toStdString();
    }
    EXPECT_EQ(failures, (QStringList{folder, pipe}));
}

TEST_F(TagWritingTest, GrowingRewriteKeepsPermissionsAndLeavesNothingBehind)
{
    const QString path = untagged("song.mp3");
    const QByteArray encoded = QFile::encodeName(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const bool attributes = ::setxattr(encoded.constData(), "user.rating", "5 stars", 7, 0) == 0;
    const ino_t before = inode(path);
    handler.writeMetaData(albumMetadata(), path);
    EXPECT_NE(inode(path), before);   // a new file took the old one's place
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                            | QFileDevice::WriteUser | QFileDevice::ReadGroup);
    if (attributes) {   // where the file system keeps user attributes, they come along
        char value[16] = {};
        EXPECT_EQ(::getxattr(encoded.constData(), "user.rating", value, sizeof value), 7);
        EXPECT_STREQ(value, "5 stars");
    }
    EXPECT_EQ(entries(), QStringList{"song.mp3"});

    // Through a symbolic link, the file it points to is changed and the link stays a link.
    const QString link = dir.filePath("link.mp3");
    ASSERT_TRUE(QFile::link(path, link));
    QVariantMap metadata = albumMetadata();
    metadata.insert(QVTitleTag, QString(3000, u'x'));   // grows the tag again
    handler.writeMetaData(metadata, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVTitleTag).toString(), QString(3000, u'x'));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(TagWritingTest, RemovingDropsEveryTagAndKeepsTheAudio)
{
    const QString both = untagged("both.mp3", 2);
    ASSERT_TRUE(MutagenTool::write(both, {{"v2", 3}, {"v1", true}, {"ape", QJsonObject{{"Artist", "A"}}},
                                          {"frames", QJsonArray{textFrame("TIT2", {"T"})}}}));
    const QString v1only = untagged("v1.mp3", 3);
    ASSERT_TRUE(MutagenTool::write(v1only, {{"v2", QJsonValue::Null}, {"v1", true},
                                            {"frames", QJsonArray{textFrame("TIT2", {"T"})}}}));
    const QString plain = untagged("plain.mp3", 4);
    ASSERT_EQ(MutagenTool::dump(both)["ape"].toBool(), true);

    handler.deleteTagsInMp3Files({both, v1only, plain});
    EXPECT_EQ(contents(both), Mp3Fixtures::audio(8 * Mp3Fixtures::frameSize, 2));
    EXPECT_EQ(contents(v1only), Mp3Fixtures::audio(8 * Mp3Fixtures::frameSize, 3));
    EXPECT_EQ(contents(plain), Mp3Fixtures::audio(8 * Mp3Fixtures::frameSize, 4));
    EXPECT_TRUE(handler.readMetaDataFromMp3File(both).isEmpty());
    EXPECT_EQ(statuses, (QStringList{"Start removing existing tags.", "Removing existing tags. 1 files processed.",
                                     "Removing existing tags. 2 files processed.",
                                     "Removing existing tags. 3 files processed.", "Finished removing existing tags."}));
    EXPECT_EQ(entries().size(), 3);

    statuses.clear();
    handler.deleteTagsInMp3Files({});
    EXPECT_EQ(statuses, (QStringList{"Start removing existing tags.", "Finished removing existing tags."}));
}
