// tagwright-cli lineup and tag --match, run on the real program in a temporary folder.
#include "files/SongMetadata.h"
#include "files/SongMetadataReader.h"
#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(LineupCommand, PrintsThePairingAndTagMatchWritesItOnlyWhenRowsPairRightly)
{
    QTemporaryDir dir;
    QFile album(dir.filePath("album.json"));
    ASSERT_TRUE(album.open(QIODevice::WriteOnly));
    album.write(R"({"albumName": "A", "numberOfDiscs": 1, "trackList": [
        {"title": "Alpha", "discNumber": 1, "trackNumber": 1, "length": 1000},
        {"title": "Bravo", "discNumber": 1, "trackNumber": 2}, {"title": "Charlie", "trackNumber": 3}]})");
    album.close();
    for (const char *name : {"02 Bravo.mp3", "01 Alpha.mp3", "notes.mp3"})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(dir.filePath(name)));
    CliInvocation inFolder;
    inFolder.workingDirectory = dir.path();
    const auto run = [&](const QStringList &arguments) { return runCliWith(arguments, inFolder); };
    const auto track = [](int row, int number, const char *title, const QJsonValue &file) {
        return QJsonObject{{"track", row}, {"disc", 1}, {"number", number}, {"title", title}, {"file", file}};
    };

    const CliResult lineup = run({"lineup", "--album", "album.json", "02 Bravo.mp3", "01 Alpha.mp3", "notes.mp3"});
    EXPECT_EQ(lineup.exitCode, 0);
    EXPECT_EQ(lineup.err, "Lined up 2 of 3 files; 1 left at the end.\n");
    EXPECT_EQ(QJsonDocument::fromJson(lineup.out).object(),
              (QJsonObject{{"tracks", QJsonArray{track(0, 1, "Alpha", "01 Alpha.mp3"), track(1, 2, "Bravo", "02 Bravo.mp3"),
                                                 track(2, 3, "Charlie", QJsonValue::Null)}},
                           {"unmatched", QJsonArray{"notes.mp3"}}}));

    // "notes.mp3" would take Charlie by its row: nothing is written.
    const CliResult refused = run({"tag", "--match", "--album", "album.json", "02 Bravo.mp3", "01 Alpha.mp3", "notes.mp3"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("no file with track 3 (\"Charlie\")")) << refused.err.toStdString();
    EXPECT_FALSE(SongMetadataReader(dir.filePath("01 Alpha.mp3")).hasTags());

    const CliResult tagged = run({"tag", "--match", "--album", "album.json", "02 Bravo.mp3", "01 Alpha.mp3"});
    EXPECT_EQ(tagged.exitCode, 0) << tagged.err.toStdString();
    for (const auto &[name, title] : {std::pair{"01 Alpha.mp3", "Alpha"}, {"02 Bravo.mp3", "Bravo"}})
        EXPECT_EQ(SongMetadataReader(dir.filePath(name)).value(QVTitleTag), title);
}
