// Writing and removing tags, checked with an independent reader (mutagen) and byte by byte.
#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"
#include "files/FileFailureNotification.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "files/TagAPI.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <taglib/id3v2header.h>

using MutagenTool::textFrame;
using Mp3Fixtures::id3v2Header;
using Mp3Fixtures::id3v2Tag;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVariantMap albumMetadata(const QString &title = QString::fromUtf8("Tïtle"))
{
    QImage cover(30, 20, QImage::Format_RGB32);
    cover.fill(Qt::darkGreen);
    return {
        {QVArtistTrackTag, QString::fromUtf8("Trąck Ärtist")}, {QVArtistAlbumTag, "Album Artist"},
        {QVAlbumTag, "Album"}, {QVTitleTag, title}, {QVYearTag, "2004-05"},
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
        : statusObserver(QVStatusChangedNotification, [this](const QString &, const void *, const QVariantMap &info) {
              statuses.append(info.value(QVStatusKey).toString());
          }),
          failureObserver(QVFileFailedNotification, [this](const QString &, const void *, const QVariantMap &info) {
              failures.append(info.value(QVFailedPathKey).toString());
          })
    {
    }

    QString fileWith(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    const QByteArray audio = Mp3Fixtures::audio();
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
    const QString path = fileWith("song.mp3", audio);
    handler.writeMetaData(albumMetadata(), path);

    const QJsonObject dump = MutagenTool::dump(path);
    EXPECT_EQ(dump["v2"].toArray(), (QJsonArray{2, 4, 0}));
    const QList<std::pair<const char *, QString>> expected = {
        {"TPE1", QString::fromUtf8("Trąck Ärtist")}, {"TPE2", "Album Artist"}, {"TALB", "Album"},
        {"TIT2", QString::fromUtf8("Tïtle")}, {"TDRC", "2004"}, {"TRCK", "3/12"}, {"TPOS", "2/2"}, {"TCON", "Rock"}};
    for (const auto &[id, text] : expected) {
        EXPECT_EQ(texts(dump, id), QStringList{text}) << id;
        EXPECT_EQ(dump["frames"][id][0]["encoding"].toInt(), 3) << id;   // UTF-8
    }
    EXPECT_TRUE(dump["comments"].toArray().isEmpty());
    ASSERT_EQ(dump["pictures"].toArray().size(), 1);
    QJsonObject picture = dump["pictures"][0].toObject();
    picture.remove("sha1");
    EXPECT_EQ(picture, (QJsonObject{{"jpeg", true}, {"mime", "image/jpeg"}, {"type", 3}, {"desc", ""}}));
    EXPECT_TRUE(dump["v1"].isNull());   // none created
    EXPECT_FALSE(contents(path).contains("Label Not Written"));
    EXPECT_TRUE(contents(path).endsWith(audio));

    // A second write replaces the frames instead of adding to them.
    handler.writeMetaData(albumMetadata("Other"), path);
    const QJsonObject second = MutagenTool::dump(path);
    EXPECT_EQ(texts(second, "TPE2"), QStringList{"Album Artist"});
    EXPECT_EQ(texts(second, "TIT2"), QStringList{"Other"});
    EXPECT_EQ(second["pictures"].toArray().size(), 1);
    EXPECT_TRUE(contents(path).endsWith(audio));
    EXPECT_EQ(entries(), QStringList{"song.mp3"});
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(TagWritingTest, AlbumArtistStandsInAndNumbersFollowTheirTexts)
{
    const QString path = fileWith("song.mp3", audio);
    QVariantMap metadata = albumMetadata();
    metadata.remove(QVArtistTrackTag);
    metadata.insert(QVDiscsTag, "3");
    metadata.insert(QVYearTag, "");
    handler.writeMetaData(metadata, path);
    const QJsonObject dump = MutagenTool::dump(path);
    EXPECT_EQ(texts(dump, "TPE1"), QStringList{"Album Artist"});
    EXPECT_EQ(texts(dump, "TPOS"), QStringList{"3/3"});
    EXPECT_TRUE(texts(dump, "TDRC").isEmpty());

    // An empty track artist is written as it is, not replaced by the album artist.
    metadata.insert(QVArtistTrackTag, "");
    handler.writeMetaData(metadata, path);
    const QVariantMap read = handler.readMetaDataFromMp3File(path);
    EXPECT_EQ(read.value(QVArtistTrackTag).toString(), "");
    EXPECT_EQ(read.value(QVArtistAlbumTag).toString(), "Album Artist");
    EXPECT_EQ(read.value(QVYearTag).toString(), "");
}

TEST_F(TagWritingTest, KeepsForeignFramesAndPicturesAndEmptiesTheComment)
{
    const QString path = fileWith("song.mp3", audio);
    const QString jpeg = fileWith("cover.jpg", Mp3Fixtures::jpegPicture(50, 40));
    ASSERT_TRUE(MutagenTool::write(path, {{"v2", 3}, {"v1", true}, {"frames", QJsonArray{
        textFrame("TCOM", {"A Composer"}), textFrame("TPE2", {"Old One"}), textFrame("TIT2", {"Old"}),
        QJsonObject{{"id", "COMM"}, {"text", QJsonArray{"a comment"}}},
        QJsonObject{{"id", "APIC"}, {"file", jpeg}, {"type", 4}, {"desc", "back"}}}}}));
    const QJsonObject before = MutagenTool::dump(path);
    ASSERT_EQ(before["comments"].toArray().size(), 1);

    // The second title grows the tag, so the file is written anew; the foreign frames come along.
    for (const QString &title : {QString::fromUtf8("Tïtle"), QString(5000, u'y')}) {
        QVariantMap metadata = albumMetadata(title);
        metadata.remove(QVCoverTag);
        handler.writeMetaData(metadata, path);
        const QJsonObject dump = MutagenTool::dump(path);
        EXPECT_EQ(dump["v2"].toArray(), (QJsonArray{2, 4, 0}));
        EXPECT_EQ(texts(dump, "TCOM"), QStringList{"A Composer"});
        EXPECT_EQ(texts(dump, "TPE2"), QStringList{"Album Artist"});
        EXPECT_EQ(dump["pictures"], before["pictures"]);
        EXPECT_TRUE(dump["comments"].toArray().isEmpty());
        // The ID3v1 tag follows the new values.
        EXPECT_EQ(dump["v1"]["TIT2"].toArray(), QJsonArray{title.left(30)});
        EXPECT_EQ(dump["v1"]["TRCK"].toArray(), QJsonArray{"3"});
        EXPECT_TRUE(contents(path).chopped(128).endsWith(audio));
    }
}

// Files with the tag layouts that taggers leave: tags in front, at the end in any order,
// junk between them and the audio, and headers that claim more than their tag holds.
// Every command takes the same files; removing leaves exactly the bytes that are no tag,
// and tagging replaces the tag it read and changes no other byte but the ID3v1 tag's.
TEST_F(TagWritingTest, OddLayoutsKeepEveryAudioByte)
{
    enum Role { Front, Kept, Tail, ID3v1, Replaced };   // Tail and Replaced are tags at the end
    struct Piece {
        Role role;
        QByteArray bytes;
    };
    struct Case {
        const char *name;
        QList<Piece> pieces;
        const char *title;        // as read before tagging, "" for none
        bool damaged = false;     // named and left as it is
        bool mp3 = true;          // taken for an MP3 file
    };
    const QByteArray v3 = id3v2Tag("Old", 3), v4 = id3v2Tag("Old", 4), v4Bare = id3v2Tag("App", 4, 0x10, 0);
    const QByteArray appended = v4Bare + "3DI" + v4Bare.mid(3, 7);
    const QByteArray junk(300, 'j'), v1 = Mp3Fixtures::id3v1Tag("V1"), ape = Mp3Fixtures::apeTag("Ape");
    const QList<Case> cases = {
        {"untagged", {{Kept, audio}}, ""},
        {"size past the frames", {{Front, id3v2Header(4, 0, v4.size() + 2000) + v4.mid(10)}, {Kept, audio}}, "Old", true},
        {"footer flag in 2.3", {{Front, id3v2Header(3, 0x10, v3.size() - 10) + v3.mid(10)}, {Kept, audio}}, "Old"},
        {"footer flag, no footer", {{Front, id3v2Header(4, 0x10, v4.size() - 10) + v4.mid(10)}, {Kept, audio}}, "Old"},
        {"2.4 footer", {{Front, appended}, {Kept, audio}}, "App"},
        {"header without frames", {{Front, v4}, {Kept, id3v2Header(4, 0, 32)}, {Kept, audio}}, "Old"},
        {"copy of the tag", {{Front, v4}, {Front, id3v2Tag("Copy")}, {Kept, audio}}, "Old"},
        {"junk after the tag", {{Front, v3}, {Kept, junk}, {Kept, audio}}, "Old"},
        {"junk, no tag", {{Kept, junk}, {Kept, audio}, {Tail, ape}}, ""},
        {"ID3v1 before APE", {{Kept, audio}, {ID3v1, v1}, {Tail, ape}}, "V1"},
        {"APE, Lyrics3v2, ID3v1", {{Kept, audio}, {Tail, ape}, {Tail, Mp3Fixtures::lyrics3v2Block("la")}, {ID3v1, v1}}, "V1"},
        {"appended tag", {{Kept, audio}, {Replaced, appended}, {ID3v1, v1}}, "App"},
        {"front and appended tag", {{Front, v4}, {Kept, audio}, {Tail, appended}}, "Old"},
        {"size not synch-safe", {{Front, QByteArray("ID3\x04\0\0\0\0\x81\0", 10) + v4.mid(10)}, {Kept, audio}}, "", true},
        {"unknown version", {{Front, id3v2Header(7, 0, 128) + QByteArray(128, 'x')}, {Kept, audio}}, "", true},
        {"size past the file", {{Front, id3v2Header(4, 0, 0x0fffffff)}, {Kept, audio}}, "", true, false},
        {"no audio", {{Front, v4}, {Kept, "%PDF-1.4" + QByteArray(4000, 'p')}}, "Old", true, false},
    };
    QStringList paths;
    QList<QByteArray> untagged;
    for (const Case &c : cases) {
        QByteArray original, kept, keptByTagging;
        for (const Piece &piece : c.pieces) {
            original += piece.bytes;
            kept += piece.role == Kept ? piece.bytes : QByteArray();
            if (piece.role == Kept || piece.role == Tail || piece.role == ID3v1)
                keptByTagging += piece.role == ID3v1 ? Mp3Fixtures::id3v1Tag("New") : piece.bytes;
        }
        const QString path = fileWith(QString::fromLatin1(c.name) + ".mp3", original);
        TagAPI check;
        check.examineFile(path);
        EXPECT_EQ(check.mp3Problem().isEmpty(), c.mp3) << c.name;
        if (!c.damaged) {
            EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVTitleTag, "").toString(), c.title) << c.name;
        }
        handler.writeMetaData({{QVTitleTag, "New"}}, path);
        const QByteArray tagged = contents(path);
        if (c.damaged) {
            EXPECT_EQ(tagged, original) << c.name;
        } else {
            TagLib::ID3v2::Header header(TagLib::ByteVector(tagged.constData(), 10));
            EXPECT_EQ(tagged.mid(header.completeTagSize()), keptByTagging) << c.name;
            EXPECT_EQ(texts(MutagenTool::dump(path), "TIT2"), QStringList{"New"}) << c.name;
        }
        paths.append(path);
        untagged.append(c.damaged ? original : kept);
    }
    statuses.clear();
    handler.deleteTagsInMp3Files(paths);
    for (qsizetype i = 0; i < paths.size(); ++i)
        EXPECT_EQ(contents(paths.at(i)), untagged.at(i)) << cases.at(i).name;
    EXPECT_EQ(failures.size(), 2 * std::count_if(cases.begin(), cases.end(), [](const Case &c) { return c.damaged; }));
    EXPECT_EQ(entries().size(), cases.size());
    EXPECT_EQ(statuses.filter("files processed").size(), paths.size());
    EXPECT_EQ(statuses.last(), "Finished removing existing tags.");
}

TEST_F(TagWritingTest, FoldersPipesAndMissingFilesAreNeitherOpenedNorWritten)
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
    EXPECT_TRUE(handler.readMetaDataFromMp3File(dir.filePath("missing.mp3")).isEmpty());
}

TEST_F(TagWritingTest, GrowingRewriteKeepsPermissionsAndLeavesNothingBehind)
{
    const QString path = fileWith("song.mp3", audio);
    const QByteArray encoded = QFile::encodeName(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const bool attributes = ::setxattr(encoded.constData(), "user.rating", "5 stars", 7, 0) == 0;
    handler.writeMetaData(albumMetadata(), path);
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
    handler.writeMetaData(albumMetadata(QString(3000, u'x')), link);   // grows the tag again
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVTitleTag).toString(), QString(3000, u'x'));
    EXPECT_TRUE(failures.isEmpty());
}
