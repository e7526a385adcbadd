// FLAC, Ogg and MP4 files tagged, read, renamed and cleaned, checked with an independent
// reader (mutagen) and a digest of the audio that a player decodes.
#include "files/FileHandler.h"
#include "files/ImageEncoding.h"
#include "files/TagFile.h"
#include "lineup/FileClues.h"
#include "support/MutagenTool.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Each value tagging writes: its Vorbis comment field and its MP4 item (none where the
// format keeps it in another field), and its text.
const QList<std::tuple<const char *, const char *, const char *>> written = {
    {"TITLE", "©nam", "Ünïcode Tïtle"}, {"ARTIST", "©ART", "Singer"}, {"ALBUM", "©alb", "Record"},
    {"ALBUMARTIST", "aART", "Band"}, {"DATE", "©day", "2004"}, {"GENRE", "©gen", "Rock"},
    {"TRACKNUMBER", nullptr, "1"}, {"TRACKTOTAL", nullptr, "2"}, {nullptr, "trkn", "1/2"},
    {"DISCNUMBER", nullptr, "1"}, {"DISCTOTAL", nullptr, "1"}, {nullptr, "disk", "1/1"},
    {"MUSICBRAINZ_ALBUMID", "----:com.apple.iTunes:MusicBrainz Album Id", "release-1"},
    {"MUSICBRAINZ_RELEASEGROUPID", "----:com.apple.iTunes:MusicBrainz Release Group Id", "group-1"},
    {"MUSICBRAINZ_ALBUMARTISTID", "----:com.apple.iTunes:MusicBrainz Album Artist Id", "band-1"},
    {"MUSICBRAINZ_ARTISTID", "----:com.apple.iTunes:MusicBrainz Artist Id", "singer-1"},
    {"MUSICBRAINZ_RELEASETRACKID", "----:com.apple.iTunes:MusicBrainz Release Track Id", "track-1"},
    {"MUSICBRAINZ_TRACKID", "----:com.apple.iTunes:MusicBrainz Track Id", "recording-1"},
    {"ASIN", "----:com.apple.iTunes:ASIN", "B0TW000001"}};

class FormatsTest : public ::testing::Test {
protected:
    FormatsTest()
    {
        QImage cover(40, 30, QImage::Format_RGB32);
        cover.fill(Qt::darkBlue);
        album.setArtistName(QStringLiteral("Band"));
        album.setAlbumName(QStringLiteral("Record"));
        album.setGenre(QStringLiteral("Rock"));
        album.setYearOfPublication(QStringLiteral("2004-05-01"));
        album.setNumberOfDiscs(1);
        album.setId(QStringLiteral("release-1"));
        album.setReleaseGroupId(QStringLiteral("group-1"));
        album.setAlbumArtistId(QStringLiteral("band-1"));
        album.setAsinNumber(QStringLiteral("B0TW000001"));
        album.setCover(cover);
        auto track = std::make_shared<Track>();
        track->setTitle(QString::fromUtf8("Ünïcode Tïtle"));
        track->setArtist(QStringLiteral("Singer"));
        track->setArtistId(QStringLiteral("singer-1"));
        track->setTrackId(QStringLiteral("track-1"));
        track->setRecordingId(QStringLiteral("recording-1"));
        tracks->append(track);
        tracks->append(std::make_shared<Track>());
        coverSha1 = QCryptographicHash::hash(encodedImage(cover, "JPEG"), QCryptographicHash::Sha1).toHex();
    }

    // A writable copy of a file of tests/data/formats.
    QString copy(const QString &name, const QString &as = {})
    {
        const QString path = dir.filePath(as.isEmpty() ? name : as);
        EXPECT_TRUE(writeBytes(path, readBytes(testDataDir() + "/formats/" + name)));
        return path;
    }

    // What mutagen should read after tagging: Vorbis comment fields, or MP4 items.
    static QJsonObject expectedTags(bool mp4)
    {
        QJsonObject tags;
        for (const auto &[field, item, text] : written) {
            if (const char *name = mp4 ? item : field)
                tags.insert(QString::fromUtf8(name), QJsonArray{QString::fromUtf8(text)});
        }
        return tags;
    }

    QTemporaryDir dir;
    FileHandler handler;
    ResultEntry album;
    TrackListPtr tracks = std::make_shared<TrackList>();
    QString coverSha1;
};

} // namespace

// Every format takes every value under the names other programs read, the comment goes, the
// fields Tagwright does not set stay, and the audio comes through byte for byte, through a
// first write, a rewrite in place and the removal of every tag.
TEST_F(FormatsTest, EveryFormatTakesTheAlbumAndKeepsItsAudio)
{
    // Whether the first write fits where the old tags and their padding or free space were.
    struct Case { const char *name; bool mp4; bool fits; };
    const QList<Case> cases = {
        {"tone.flac", false, false}, {"silence-44-s.flac", false, true}, {"tone-flac.oga", false, false},
        {"tone.ogg", false, false}, {"multipage-setup.ogg", false, false}, {"tone.opus", false, false},
        {"tone-aac.m4a", true, false}, {"tone-alac.m4a", true, false}, {"has-tags.m4a", true, true},
    };
    for (const Case &c : cases) {
        const QString path = copy(c.name);
        const QJsonObject before = MutagenTool::readFormat(path);
        ASSERT_FALSE(before.isEmpty()) << c.name;
        // A second name for the file sees a write made in place, not one that grows the
        // tags into a new file.
        const QString link = dir.filePath("link");
        const auto linked = [&]() {
            QFile::remove(link);
            return ::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) == 0;
        };
        const QByteArray original = readBytes(path);
        ASSERT_TRUE(linked());
        tracks->first()->setTitle(QString::fromUtf8("Ünïcode Tïtlf"));
        EXPECT_TRUE(handler.tagFiles({path}, tracks, album).failures.isEmpty()) << c.name;
        EXPECT_EQ(readBytes(link) == original, !c.fits) << c.name;
        tracks->first()->setTitle(QString::fromUtf8("Ünïcode Tïtle"));
        ASSERT_TRUE(linked());
        EXPECT_TRUE(handler.tagFiles({path}, tracks, album).failures.isEmpty()) << c.name;
        EXPECT_EQ(readBytes(link), readBytes(path)) << c.name;
        QFile::remove(link);
        const QJsonObject tagged = MutagenTool::readFormat(path);
        EXPECT_EQ(tagged["audio"], before["audio"]) << c.name;
        EXPECT_EQ(tagged["vendor"], before["vendor"]) << c.name;
        QJsonObject expected = expectedTags(c.mp4);
        // The fields Tagwright does not write stay as they were; the comment is emptied.
        const QJsonObject old = before["tags"].toObject();
        for (auto field = old.begin(); field != old.end(); ++field) {
            if (!expected.contains(field.key()) && !QStringList{"COMMENT", "DESCRIPTION", "©cmt"}.contains(field.key()))
                expected.insert(field.key(), *field);
        }
        EXPECT_EQ(tagged["tags"].toObject(), expected) << c.name << " " << QJsonDocument(tagged).toJson().toStdString();
        const QJsonObject cover{{"type", 3}, {"mime", "image/jpeg"}, {"jpeg", true}, {"sha1", coverSha1}};
        EXPECT_EQ(tagged["pictures"].toArray(), QJsonArray{cover}) << c.name;

        // Read back by Tagwright as by every other command.
        const std::optional<TagValues> values = handler.readTags(path);
        ASSERT_TRUE(values) << c.name;
        EXPECT_EQ(QStringList({values->title, *values->trackArtist, values->albumArtist, values->id(CatalogueId::Asin),
                               values->id(CatalogueId::MusicBrainzRecording)}),
                  QStringList({QString::fromUtf8("Ünïcode Tïtle"), "Singer", "Band", "B0TW000001", "recording-1"})) << c.name;
        EXPECT_EQ(QList<qint32>({values->year, values->trackNumber, values->trackCount, values->discNumber, values->discCount}),
                  QList<qint32>({2004, 1, 2, 1, 1})) << c.name;
        EXPECT_EQ(values->cover.value_or(QImage()).size(), QSize(40, 30)) << c.name;
        EXPECT_GT(FileClues::read(path).lengthMs.value_or(0), 900) << c.name;

        EXPECT_TRUE(handler.removeTags({path}).failures.isEmpty()) << c.name;
        const QJsonObject removed = MutagenTool::readFormat(path);
        EXPECT_EQ(removed["audio"], before["audio"]) << c.name;
        EXPECT_EQ(removed["vendor"], before["vendor"]) << c.name;
        EXPECT_TRUE(removed["tags"].toObject().isEmpty() && removed["pictures"].toArray().isEmpty()) << c.name;
        EXPECT_FALSE(handler.readTags(path)) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{c.name}) << c.name;
        QFile::remove(path);
    }
}

// A file is known by its content, whatever its name says; renaming keeps its extension as
// it was written.
TEST_F(FormatsTest, ContentDecidesAndRenamingKeepsTheExtension)
{
    QStringList files = {copy("tone.flac", "Song.FLAC"), copy("tone.ogg", "song.mp3"), copy("tone-aac.m4a", "song")};
    for (const QString &path : files)
        EXPECT_EQ(TagFile::open(path)->problem(), "") << path.toStdString();
    handler.tagFiles(files, tracks, album);
    handler.renameFiles(files, QStringLiteral("%n %r"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"01 Singer.FLAC", "02 Singer.mp3", "03 Singer"}));
}

// Rippers' ID3v2, APE and ID3v1 tags on a FLAC file go with the removal of its tags.
TEST_F(FormatsTest, RemovalTakesRippersTagsOffFlac)
{
    const QString path = copy("tone.flac");
    const QString audio = MutagenTool::readFormat(path)["audio"].toString();
    ASSERT_TRUE(MutagenTool::addRippersTags(path));
    EXPECT_EQ(handler.readTags(path).value_or(TagValues()).title, "Ripped");
    EXPECT_TRUE(handler.removeTags({path}).failures.isEmpty());
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.startsWith("fLaC"));
    EXPECT_FALSE(bytes.contains("APETAGEX") || bytes.contains("Ripped"));
    EXPECT_EQ(MutagenTool::readFormat(path)["audio"].toString(), audio);
}

// Damaged and odd files: no crash and no hang; a file refused or failed is left byte for byte.
TEST_F(FormatsTest, DamagedFilesAreRefusedOrTaggedWhole)
{
    QList<std::pair<QString, bool>> cases;   // the path, and whether it is refused
    for (const char *name : {"106-invalid-streaminfo.flac", "64bit.mp4"})
        cases.append({copy(name), true});
    cases.append({copy("empty.ogg"), false});
    // Cut short at several places, each format's file.
    for (const char *name : {"tone.flac", "tone.ogg", "tone.opus", "tone-flac.oga", "tone-aac.m4a"}) {
        const QByteArray bytes = readBytes(testDataDir() + "/formats/" + name);
        for (const qsizetype size : {qsizetype(4), qsizetype(40), bytes.size() / 3, bytes.size() - 7}) {
            const QString path = dir.filePath(QStringLiteral("cut%1-%2").arg(size).arg(QString::fromLatin1(name)));
            ASSERT_TRUE(writeBytes(path, bytes.left(size)));
            cases.append({path, false});
        }
    }
    for (const auto &[path, refused] : cases) {
        const QByteArray original = readBytes(path);
        const QString problem = TagFile::open(path)->problem();
        EXPECT_TRUE(!refused || !problem.isEmpty()) << path.toStdString();
        handler.readTags(path);
        const FileOutcome tagged = handler.tagFiles({path}, tracks, album);
        EXPECT_TRUE((problem.isEmpty() && tagged.failures.isEmpty()) || readBytes(path) == original) << path.toStdString();
        handler.removeTags({path});
    }
}
