// Reading tags that an independent writer (mutagen) put into files.
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "support/Mp3Fixtures.h"
#include "support/MutagenTool.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using MutagenTool::textFrame;

class TagReadingTest : public ::testing::Test {
protected:
    QString taggedByMutagen(const QJsonValue &v2, bool v1, const QJsonArray &frames)
    {
        const QString path = dir.filePath(QStringLiteral("song%1.mp3").arg(++count));
        EXPECT_TRUE(Mp3Fixtures::writeMp3(path));
        EXPECT_TRUE(MutagenTool::write(path, {{"v2", v2}, {"v1", v1}, {"frames", frames}}));
        return path;
    }
    QString picture(int width, int height)
    {
        const QString path = dir.filePath(QStringLiteral("picture%1x%2.jpg").arg(width).arg(height));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Mp3Fixtures::jpegPicture(width, height));
        return path;
    }

    QTemporaryDir dir;
    int count = 0;
    FileHandler handler;
};

const QJsonArray fullFrames = {
    textFrame("TPE1", {"Track Artist"}), textFrame("TPE2", {"Album Artist"}),
    textFrame("TALB", {"The Album"}), textFrame("TIT2", {"The Title"}),
    textFrame("TRCK", {"7/12"}), textFrame("TPOS", {"2/2"}), textFrame("TCON", {"Rock"}),
};

} // namespace

TEST_F(TagReadingTest, UntaggedMissingAndForeignFilesReadAsEmpty)
{
    const QString untagged = dir.filePath("plain.mp3");
    ASSERT_TRUE(Mp3Fixtures::writeMp3(untagged));
    EXPECT_TRUE(handler.readMetaDataFromMp3File(untagged).isEmpty());
    EXPECT_TRUE(handler.readMetaDataFromMp3File(dir.filePath("missing.mp3")).isEmpty());
    EXPECT_TRUE(handler.readMetaDataFromMp3File(dir.path()).isEmpty());
}

TEST_F(TagReadingTest, ReadsEveryValueOfVersion23And24)
{
    for (int version : {3, 4}) {
        QJsonArray frames = fullFrames;
        frames.append(textFrame(version == 3 ? "TYER" : "TDRC", {"2004"}));
        const QVariantMap metadata = handler.readMetaDataFromMp3File(taggedByMutagen(version, false, frames));
        EXPECT_EQ(metadata.value(QVArtistTrackTag).toString(), "Track Artist") << version;
        EXPECT_EQ(metadata.value(QVArtistAlbumTag).toString(), "Album Artist");
        EXPECT_EQ(metadata.value(QVAlbumTag).toString(), "The Album");
        EXPECT_EQ(metadata.value(QVTitleTag).toString(), "The Title");
        EXPECT_EQ(metadata.value(QVYearTag).toString(), "2004");
        EXPECT_EQ(metadata.value(QVTrackNoTag).toString(), "7");
        EXPECT_EQ(metadata.value(QVTrackCountTag).toString(), "12");
        EXPECT_EQ(metadata.value(QVDiscsTag).toString(), "2");
        EXPECT_EQ(metadata.value(QVGenreTag).toString(), "Rock");
        EXPECT_EQ(metadata.value(QVLabelTag).toString(), "");
        EXPECT_FALSE(metadata.contains(QVCoverTag));
        EXPECT_EQ(metadata.size(), 10);
    }
}

TEST_F(TagReadingTest, Utf16AndLatin1TextReadTheSame)
{
    const QString name = QString::fromUtf8("Björk – 東京");
    for (int encoding : {1, 2, 3}) {
        const QString path = taggedByMutagen(encoding == 2 ? 4 : 3, false, {textFrame("TIT2", {name}, encoding)});
        EXPECT_EQ(handler.readMetaDataFromMp3File(path).value(QVTitleTag).toString(), name) << encoding;
    }
    const QString latin = taggedByMutagen(3, false, {textFrame("TIT2", {QString::fromUtf8("Café")}, 0)});
    EXPECT_EQ(handler.readMetaDataFromMp3File(latin).value(QVTitleTag).toString(), QString::fromUtf8("Café"));
}

TEST_F(TagReadingTest, Version1OnlyGivesTheArtistAsAlbumArtist)
{
    const QString path = taggedByMutagen(QJsonValue::Null, true,
                                         {textFrame("TPE1", {"Solo"}), textFrame("TIT2", {"Song"}),
                                          textFrame("TRCK", {"3"}), textFrame("TDRC", {"1999"}),
                                          textFrame("TCON", {"Jazz"})});
    const QVariantMap metadata = handler.readMetaDataFromMp3File(path);
    EXPECT_EQ(metadata.value(QVArtistTrackTag).toString(), "Solo");
    EXPECT_EQ(metadata.value(QVArtistAlbumTag).toString(), "Solo");
    EXPECT_EQ(metadata.value(QVTitleTag).toString(), "Song");
    EXPECT_EQ(metadata.value(QVTrackNoTag).toString(), "3");
    EXPECT_EQ(metadata.value(QVYearTag).toString(), "1999");
    EXPECT_EQ(metadata.value(QVGenreTag).toString(), "Jazz");
    EXPECT_EQ(metadata.value(QVTrackCountTag).toString(), "");
    EXPECT_EQ(metadata.value(QVDiscsTag).toString(), "");
}

TEST_F(TagReadingTest, BothVersionsAnswerFromVersion2)
{
    const QString path = taggedByMutagen(4, true, {textFrame("TPE1", {"Version Two Artist With A Long Name"}),
                                                   textFrame("TALB", {"Album"})});
    const QVariantMap metadata = handler.readMetaDataFromMp3File(path);
    // ID3v1 holds only the first 30 characters; the full name shows it came from ID3v2.
    EXPECT_EQ(metadata.value(QVArtistTrackTag).toString(), "Version Two Artist With A Long Name");
}

TEST_F(TagReadingTest, ZeroNumbersReadAsEmpty)
{
    const QString path = taggedByMutagen(4, false, {textFrame("TIT2", {"T"}), textFrame("TRCK", {"0/0"}),
                                                    textFrame("TPOS", {"0/0"}), textFrame("TDRC", {"0000"})});
    const QVariantMap metadata = handler.readMetaDataFromMp3File(path);
    EXPECT_EQ(metadata.value(QVYearTag).toString(), "");
    EXPECT_EQ(metadata.value(QVTrackNoTag).toString(), "");
    EXPECT_EQ(metadata.value(QVTrackCountTag).toString(), "");
    EXPECT_EQ(metadata.value(QVDiscsTag).toString(), "");
    EXPECT_EQ(metadata.size(), 10);
}

TEST_F(TagReadingTest, SeveralGenresAndPicturesGiveTheFirst)
{
    const QString path = taggedByMutagen(4, false, {
        textFrame("TCON", {"Electronic", "Ambient"}),
        // mutagen writes the smaller frame first.
        QJsonObject{{"id", "APIC"}, {"file", picture(20, 10)}, {"type", 3}},
        QJsonObject{{"id", "APIC"}, {"file", picture(40, 30)}, {"type", 4}, {"desc", "back"}},
    });
    const QVariantMap metadata = handler.readMetaDataFromMp3File(path);
    EXPECT_EQ(metadata.value(QVGenreTag).toString(), "Electronic");
    const QImage cover = metadata.value(QVCoverTag).value<QImage>();
    EXPECT_EQ(cover.size(), QSize(20, 10));
    EXPECT_EQ(metadata.size(), 11);

    // Old-style numeric genres come out as names.
    const QString numeric = taggedByMutagen(3, false, {textFrame("TCON", {"(17)(8)"})});
    EXPECT_EQ(handler.readMetaDataFromMp3File(numeric).value(QVGenreTag).toString(), "Rock");
}

TEST_F(TagReadingTest, SkippingTheCoverLeavesItOut)
{
    const QString path = taggedByMutagen(4, false, {textFrame("TIT2", {"T"}),
                                                    QJsonObject{{"id", "APIC"}, {"file", picture(40, 30)}}});
    const QVariantMap metadata = handler.readMetaDataFromMp3File(path, FileHandler::CoverReading::Skip);
    EXPECT_FALSE(metadata.contains(QVCoverTag));
    EXPECT_EQ(metadata.value(QVTitleTag).toString(), "T");
}
