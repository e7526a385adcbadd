// Reading, writing and removing tags, checked against an independent reader and writer
// (mutagen) and byte by byte.
#include "files/FileHandler.h"
#include "files/ImageEncoding.h"
#include "files/MetadataKeys.h"
#include "files/TagFile.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"
#include "support/StatusRecorder.h"
#include "support/TestFiles.h"

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

TagValues albumValues(const QString &title = QString::fromUtf8("Tïtle"))
{
    QImage cover(30, 20, QImage::Format_RGB32);
    cover.fill(Qt::darkGreen);
    TagValues values;
    values.trackArtist = QString::fromUtf8("Trąck Ärtist");
    values.albumArtist = "Album Artist";
    values.album = "Album";
    values.title = title;
    values.year = 2004;
    values.trackNumber = 3;
    values.trackCount = 12;
    values.discCount = 2;
    values.genres = QStringList{"Rock"};
    values.frontCoverJpeg = encodedImage(cover, "JPEG");
    return values;
}

// The frames with that identifier as mutagen dumps them: one frame of UTF-8 text.
QJsonArray utf8Frame(const QString &text)
{
    return {QJsonObject{{"text", QJsonArray{text}}, {"encoding", 3}}};
}

class TagReadWriteTest : public ::testing::Test {
protected:
    QString fileWith(const QString &name, const QByteArray &bytes)
    {
        EXPECT_TRUE(writeBytes(dir.filePath(name), bytes));
        return dir.filePath(name);
    }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    const QByteArray audio = Mp3Fixtures::audio();
    QTemporaryDir dir;
    FileHandler handler;
    StatusRecorder statuses;
    QStringList failures;
    // Keeps the paths of the files an operation names as failed.
    void collect(const FileOutcome &outcome)
    {
        for (const FileFailure &failure : outcome.failures)
            failures.append(failure.path);
    }
    void write(const TagValues &values, const QString &path) { collect(handler.writeTags(values, path)); }
};

} // namespace

TEST_F(TagReadWriteTest, ReadsWhatMutagenWrote)
{
    const QString name = QString::fromUtf8("Björk – 東京"), longName = "Version Two Artist With A Long Name";
    const QString small = fileWith("small.jpg", Mp3Fixtures::jpegPicture(20, 10)), large = fileWith("large.jpg", Mp3Fixtures::jpegPicture(40, 30));
    const QJsonArray full = {textFrame("TPE1", {"Track Artist"}), textFrame("TPE2", {"Album Artist"}),
                             textFrame("TALB", {"The Album"}), textFrame("TIT2", {"The Title"}),
                             textFrame("TRCK", {"7/12"}), textFrame("TPOS", {"2/2"}), textFrame("TCON", {"Rock"})};
    const QVariantMap fullValues = {{MetadataKeys::trackArtist, "Track Artist"}, {MetadataKeys::albumArtist, "Album Artist"},
        {MetadataKeys::album, "The Album"}, {MetadataKeys::title, "The Title"}, {MetadataKeys::year, "2004"}, {MetadataKeys::trackNumber, "7"},
        {MetadataKeys::trackCount, "12"}, {MetadataKeys::discNumber, "2"}, {MetadataKeys::discCount, "2"}, {MetadataKeys::genre, "Rock"}, {MetadataKeys::label, ""}};
    struct Case { QJsonValue v2; bool v1; QJsonArray frames; QVariantMap expected; };   // v2: version or null
    const QList<Case> cases = {
        {3, false, full + textFrame("TYER", {"2004"}), fullValues},
        {4, false, full + textFrame("TDRC", {"2004"}), fullValues},
        // UTF-16 with and without byte order mark, UTF-8 and Latin-1 read the same.
        {3, false, {textFrame("TIT2", {name}, 1)}, {{MetadataKeys::title, name}}},
        {4, false, {textFrame("TIT2", {name}, 2)}, {{MetadataKeys::title, name}}},
        {3, false, {textFrame("TIT2", {name}, 3)}, {{MetadataKeys::title, name}}},
        {3, false, {textFrame("TIT2", {"Café"}, 0)}, {{MetadataKeys::title, "Café"}}},
        // ID3v1 alone: the artist stands in for the album artist, and there are no totals.
        {QJsonValue::Null, true, {textFrame("TPE1", {"Solo"}), textFrame("TIT2", {"Song"}), textFrame("TRCK", {"3"}),
                                  textFrame("TDRC", {"1999"}), textFrame("TCON", {"Jazz"})},
         {{MetadataKeys::trackArtist, "Solo"}, {MetadataKeys::albumArtist, "Solo"}, {MetadataKeys::title, "Song"}, {MetadataKeys::trackNumber, "3"},
          {MetadataKeys::year, "1999"}, {MetadataKeys::genre, "Jazz"}, {MetadataKeys::trackCount, ""}, {MetadataKeys::discNumber, ""}, {MetadataKeys::discCount, ""}}},
        // With both, ID3v2 answers: ID3v1 holds only the first 30 characters.
        {4, true, {textFrame("TPE1", {longName})}, {{MetadataKeys::trackArtist, longName}}},
        {4, false, {textFrame("TIT2", {"T"}), textFrame("TRCK", {"0/0"}), textFrame("TPOS", {"0/0"}), textFrame("TDRC", {"0000"})},
         {{MetadataKeys::year, ""}, {MetadataKeys::trackNumber, ""}, {MetadataKeys::trackCount, ""}, {MetadataKeys::discNumber, ""}, {MetadataKeys::discCount, ""}}},
        // Of several genres and pictures, the first; mutagen writes the smaller picture first.
        {4, false, {textFrame("TCON", {"Electronic", "Ambient"}), QJsonObject{{"id", "APIC"}, {"file", small}, {"type", 3}},
                    QJsonObject{{"id", "APIC"}, {"file", large}, {"type", 4}, {"desc", "back"}}},
         {{MetadataKeys::genre, "Electronic"}, {MetadataKeys::cover, QSize(20, 10)}}},
        {3, false, {textFrame("TCON", {"(17)(8)"})}, {{MetadataKeys::genre, "Rock"}}},   // numbers come out as names
        // Identifiers as other taggers write them, descriptions in any letter case.
        {3, false, {QJsonObject{{"id", "TXXX"}, {"desc", "MusicBrainz Album Id"}, {"text", QJsonArray{"release"}}},
                    QJsonObject{{"id", "TXXX"}, {"desc", "ASIN"}, {"text", QJsonArray{"B0TW000002"}}},
                    QJsonObject{{"id", "TXXX"}, {"desc", "MUSICBRAINZ ARTIST ID"}, {"text", QJsonArray{"other"}}},
                    QJsonObject{{"id", "UFID"}, {"owner", "http://musicbrainz.org"}, {"data", "recording"}},
                    textFrame("TPOS", {"03"})},
         {{QStringLiteral("MusicBrainzAlbumId"), "release"}, {QStringLiteral("ASIN"), "B0TW000002"}, {QStringLiteral("MusicBrainzArtistId"), "other"},
          {QStringLiteral("MusicBrainzRecordingId"), "recording"},
          {MetadataKeys::discNumber, "3"}, {MetadataKeys::discCount, ""}}},
    };
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Case &c = cases.at(i);
        const QString path = fileWith(QStringLiteral("song%1.mp3").arg(i), audio);
        ASSERT_TRUE(MutagenTool::write(path, {{"v2", c.v2}, {"v1", c.v1}, {"frames", c.frames}}));
        const QVariantMap metadata = MetadataKeys::toMap(handler.readTags(path));
        // Every text key, and the picture and identifiers only when the file holds them.
        const auto optional = std::count_if(c.expected.keyBegin(), c.expected.keyEnd(), [](const QString &key) {
            return key == MetadataKeys::cover || key.startsWith("MusicBrainz") || key == "ASIN"; });
        EXPECT_EQ(metadata.size(), 11 + optional) << i;
        for (auto it = c.expected.begin(); it != c.expected.end(); ++it) {
            const QVariant value = metadata.value(it.key());
            EXPECT_EQ(it.key() == MetadataKeys::cover ? QVariant(value.value<QImage>().size()) : QVariant(value.toString()), *it)
                << i << " " << it.key().toStdString();
        }
    }
}

TEST_F(TagReadWriteTest, WritesEveryValueInUtf8AndKeepsForeignFrames)
{
    const QString path = fileWith("song.mp3", audio);
    const QString jpeg = fileWith("back.jpg", Mp3Fixtures::jpegPicture(50, 40));
    ASSERT_TRUE(MutagenTool::write(path, {{"v2", 3}, {"v1", true}, {"frames", QJsonArray{
        textFrame("TCOM", {"A Composer"}), textFrame("TPE2", {"Old One"}), textFrame("TIT2", {"Old"}),
        QJsonObject{{"id", "COMM"}, {"text", QJsonArray{"a comment"}}},
        QJsonObject{{"id", "APIC"}, {"file", jpeg}, {"type", 4}, {"desc", "back"}}}}}));
    const QJsonObject before = MutagenTool::dump(path);
    ASSERT_EQ(before["comments"].toArray().size(), 1);

    // The first write keeps the pictures; the second sets the cover instead and grows the
    // tag, so the file is written anew. Neither adds to the frames it replaces.
    for (const QString &title : {QString::fromUtf8("Tïtle"), QString(5000, u'y')}) {
        TagValues values = albumValues(title);
        const bool cover = title.size() > 30;
        if (!cover)
            values.frontCoverJpeg.clear();
        write(values, path);
        const QJsonObject dump = MutagenTool::dump(path);
        EXPECT_EQ(dump["v2"].toArray(), (QJsonArray{2, 4, 0}));
        const QList<std::pair<const char *, QString>> expected = {
            {"TPE1", QString::fromUtf8("Trąck Ärtist")}, {"TPE2", "Album Artist"}, {"TALB", "Album"},
            {"TIT2", title}, {"TDRC", "2004"}, {"TRCK", "3/12"}, {"TPOS", "2/2"}, {"TCON", "Rock"}};
        for (const auto &[id, text] : expected)
            EXPECT_EQ(dump["frames"][id].toArray(), utf8Frame(text)) << id;
        EXPECT_EQ(dump["frames"]["TCOM"][0]["text"].toArray(), QJsonArray{"A Composer"});
        EXPECT_TRUE(dump["comments"].toArray().isEmpty());
        const QJsonObject newCover = {{"jpeg", true}, {"mime", "image/jpeg"}, {"type", 3}, {"desc", ""}, {"sha1", dump["pictures"][0]["sha1"]}};
        EXPECT_EQ(dump["pictures"].toArray(), cover ? QJsonArray{newCover} : before["pictures"].toArray());
        // The ID3v1 tag follows the new values.
        EXPECT_EQ(dump["v1"]["TIT2"].toArray(), QJsonArray{title.left(30)});
        EXPECT_EQ(dump["v1"]["TRCK"].toArray(), QJsonArray{"3"});
        EXPECT_TRUE(readBytes(path).chopped(128).endsWith(audio));
    }

    // Without a track artist the album artist stands in; an empty one is written as it is.
    TagValues values = albumValues();
    values.trackArtist.reset();
    values.discCount = 3;
    values.year = 0;
    write(values, path);
    const QVariantMap read = MetadataKeys::toMap(handler.readTags(path));
    EXPECT_EQ(QStringList({read.value(MetadataKeys::trackArtist).toString(), read.value(MetadataKeys::discCount).toString(), read.value(MetadataKeys::year).toString()}),
              QStringList({"Album Artist", "3", ""}));
    values.trackArtist = "";
    write(values, path);
    EXPECT_EQ(MetadataKeys::toMap(handler.readTags(path)).value(MetadataKeys::trackArtist).toString(), "");
    EXPECT_EQ(entries(), (QStringList{"back.jpg", "song.mp3"}));
    EXPECT_TRUE(failures.isEmpty());
}

// Files with the tag layouts that taggers leave: tags in front, at the end in any order,
// junk between them and the audio, and headers that claim more than their tag holds.
// Every command takes the same files; removing leaves exactly the bytes that are no tag,
// and tagging replaces the tag it read and changes no other byte but the ID3v1 tag's.
TEST_F(TagReadWriteTest, OddLayoutsKeepEveryAudioByte)
{
    // Tail and Replaced are tags at the end: tagging keeps a Tail and drops a Replaced tag.
    enum Role { Front, Kept, Tail, ID3v1, Replaced };
    struct Piece { Role role; QByteArray bytes; };
    // The title read before tagging ("" for none); a damaged file is named and left as it is.
    struct Case { const char *name; QList<Piece> pieces; const char *title; bool damaged = false; bool mp3 = true; };
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
    TagValues newTitle;
    newTitle.title = "New";
    for (const Case &c : cases) {
        QByteArray original, kept, keptByTagging;
        for (const Piece &piece : c.pieces) {
            original += piece.bytes;
            kept += piece.role == Kept ? piece.bytes : QByteArray();
            if (piece.role == Kept || piece.role == Tail || piece.role == ID3v1)
                keptByTagging += piece.role == ID3v1 ? Mp3Fixtures::id3v1Tag("New") : piece.bytes;
        }
        paths.append(fileWith(QString::fromLatin1(c.name) + ".mp3", original));
        untagged.append(c.damaged ? original : kept);
        EXPECT_EQ(TagFile::open(paths.last())->problem().isEmpty(), c.mp3) << c.name;
        EXPECT_TRUE(c.damaged || MetadataKeys::toMap(handler.readTags(paths.last())).value(MetadataKeys::title, "") == c.title) << c.name;

        write(newTitle, paths.last());
        const QByteArray tagged = readBytes(paths.last());
        const qsizetype newTag = c.damaged ? 0 : TagLib::ID3v2::Header(TagLib::ByteVector(tagged.constData(), 10)).completeTagSize();
        EXPECT_EQ(tagged.mid(newTag), c.damaged ? original : keptByTagging) << c.name;
        EXPECT_TRUE(c.damaged || MutagenTool::dump(paths.last()).value("frames")["TIT2"].toArray() == utf8Frame("New")) << c.name;
    }
    statuses.lines.clear();
    collect(handler.removeTags(paths, &statuses.control));
    for (qsizetype i = 0; i < paths.size(); ++i)
        EXPECT_EQ(readBytes(paths.at(i)), untagged.at(i)) << cases.at(i).name;
    EXPECT_EQ(failures.size(), 2 * std::count_if(cases.begin(), cases.end(), [](const Case &c) { return c.damaged; }));
    EXPECT_EQ(entries().size(), cases.size());
    EXPECT_EQ(statuses.lines.filter("files processed").size(), paths.size());
    EXPECT_EQ(statuses.lines.last(), "Finished removing existing tags.");
}

TEST_F(TagReadWriteTest, FoldersPipesAndMissingFilesAreNeitherOpenedNorWritten)
{
    // A pipe would block the reader if it were opened; it is refused before opening.
    const QStringList paths = {dir.filePath("folder.mp3"), dir.filePath("pipe.mp3"), dir.filePath("missing.mp3")};
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(paths[1]).constData(), 0600), 0);
    for (const QString &path : paths) {
        EXPECT_TRUE(MetadataKeys::toMap(handler.readTags(path)).isEmpty());
        const FileOutcome outcome = handler.writeTags(albumValues(), path);
        collect(outcome);
        EXPECT_TRUE(outcome.failureLines().join(u'\n').contains(path.endsWith("missing.mp3") ? "no such file" : "not a regular file"));
    }
    EXPECT_EQ(failures, paths);
}

TEST_F(TagReadWriteTest, GrowingRewriteKeepsPermissionsAndLeavesNothingBehind)
{
    const QString path = fileWith("song.mp3", audio);
    const QByteArray encoded = QFile::encodeName(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const bool attributes = ::setxattr(encoded.constData(), "user.rating", "5 stars", 7, 0) == 0;
    write(albumValues(), path);
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
    write(albumValues(QString(3000, u'x')), link);   // grows the tag again
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(MetadataKeys::toMap(handler.readTags(path)).value(MetadataKeys::title).toString(), QString(3000, u'x'));
    EXPECT_TRUE(failures.isEmpty());
}
