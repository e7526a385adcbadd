// tagwright-cli identify and tag --auto against the local catalogue service's MusicBrainz
// answers, with albums of generated MP3 files.
#include "files/FileHandler.h"
#include "support/CliRunner.h"
#include "support/LocalCatalogue.h"
#include "support/SampleReleases.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace SampleReleases;

namespace {

const QString gravelSearch = QStringLiteral(R"(release:"Gravel and Rain" AND artist:"Kestrel Road" tracks:7)");

// Every file's bytes, to tell that nothing was written.
QList<QByteArray> contentsOf(const QStringList &paths)
{
    QList<QByteArray> contents;
    for (const QString &path : paths)
        contents.append(readBytes(path));
    return contents;
}

QStringList pathsIn(const QString &folder, const QList<FileToMake> &files)
{
    QStringList paths;
    for (const FileToMake &file : files)
        paths.append(folder + u'/' + file.name);
    return paths;
}

qsizetype searchesLogged(const LocalCatalogue &service)
{
    qsizetype searches = 0;
    for (const QJsonObject &line : service.logLines())
        searches += line[u"path"].toString().startsWith(QStringLiteral("/ws/2/release")) && line[u"query"].toObject().contains(u"query");
    return searches;
}

} // namespace

TEST(IdentifyCommand, PrintsTheCandidatesAndTagsOnlyTheConfidentAlbumsThenResumes)
{
    TemporaryCatalogue catalogue;
    addReleases(catalogue);
    catalogue.addFile("musicbrainz/search/" + gravelSearch + ".xml", searchAnswer("Kestrel Road"));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    QTemporaryDir dir;
    const QString gravel = dir.filePath("Kestrel Road - Gravel and Rain");
    const QString nothing = dir.filePath("misc/0001");
    // The third track has no file, and a bonus file pairs with no track.
    QList<FileToMake> gravelFiles = numberedFiles(gravelAndRainLengths());
    gravelFiles.removeAt(2);
    gravelFiles.append({"bonus.mp3", 30000});
    const QList<int> trackOfFile{0, 1, 3, 4, 5, 6, -1};
    const QList<FileToMake> nothingFiles{{"a.mp3", 61000}, {"b.mp3", 95000}};
    ASSERT_TRUE(makeFiles(gravel, gravelFiles) && makeFiles(nothing, nothingFiles));
    const QStringList gravelPaths = pathsIn(gravel, gravelFiles);

    const CliResult identified = runCliAgainstService({"identify", gravel}, service.environment());
    ASSERT_EQ(identified.exitCode, 0) << identified.err.toStdString();
    const QJsonArray albums = QJsonDocument::fromJson(identified.out).array();
    ASSERT_EQ(albums.size(), 1) << identified.out.toStdString();
    const QJsonObject album = albums.first().toObject();
    EXPECT_EQ(album["folder"].toString(), gravel);
    EXPECT_EQ(album["files"].toArray().toVariantList(), QVariant(gravelPaths).toList());
    EXPECT_EQ(album["clues"]["album"].toString(), "Gravel and Rain");
    EXPECT_EQ(album["clues"]["foundBy"].toString(), "folder");
    const QJsonArray candidates = album["candidates"].toArray();
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_GE(candidates[0]["score"].toDouble(), 0.8);
    EXPECT_LT(candidates[1]["score"].toDouble(), 0.8);
    EXPECT_EQ(candidates[0]["album"]["id"].toString(), gravelAndRain);
    EXPECT_EQ(candidates[0]["album"]["trackList"].toArray().size(), 7);
    const QJsonArray pairing = candidates[0]["pairing"].toArray();
    ASSERT_EQ(pairing.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pairing[i]["file"].toString(), gravelPaths[i]);
        EXPECT_EQ(pairing[i]["track"].toInt(-1), trackOfFile[i]);
    }

    // The confident album is tagged with its cover in its pairing, the file without a track
    // left; the album with nothing to go on is left.
    const QList<QByteArray> untouched = contentsOf(pathsIn(nothing, nothingFiles) + QStringList{gravelPaths.last()});
    const CliResult tagged = runCliAgainstService({"tag", "--auto", dir.path()}, service.environment());
    EXPECT_EQ(tagged.exitCode, 1) << tagged.err.toStdString();
    EXPECT_TRUE(tagged.err.contains("Folder 1 of 2: " + gravel.toUtf8()) && tagged.err.contains("Folder 2 of 2: "))
        << tagged.err.toStdString();
    EXPECT_TRUE(tagged.err.contains("Left " + nothing.toUtf8() + " untagged: no release found")) << tagged.err.toStdString();
    EXPECT_TRUE(tagged.err.contains("Left " + gravelPaths.last().toUtf8() + " untagged: it pairs with no track"))
        << tagged.err.toStdString();
    EXPECT_EQ(contentsOf(pathsIn(nothing, nothingFiles) + QStringList{gravelPaths.last()}), untouched);
    const QStringList titles{"Rain on a Tin Roof", "Gravel and Rain", "County Line", "Backroad Lullaby",
                             "Storm Chaser", "Last Call at Ruby's", "Home Before Dark"};
    for (int i = 0; i < 6; ++i) {
        const std::optional<TagValues> tags = FileHandler().readTags(gravelPaths[i], FileHandler::CoverReading::Decode);
        ASSERT_TRUE(tags);
        EXPECT_EQ(tags->title, titles[trackOfFile[i]]);
        EXPECT_EQ(tags->trackNumber, trackOfFile[i] + 1);
        EXPECT_EQ(tags->id(CatalogueId::MusicBrainzAlbum), gravelAndRain);
        EXPECT_TRUE(tags->cover);
    }

    // Started again, the tagged album is passed over without a request.
    const qsizetype searches = searchesLogged(service);
    const CliResult resumed = runCliAgainstService({"tag", "--auto", "--skip-tagged", dir.path()}, service.environment());
    EXPECT_EQ(resumed.exitCode, 1);
    EXPECT_TRUE(resumed.err.contains("Passed over " + gravel.toUtf8())) << resumed.err.toStdString();
    EXPECT_EQ(searchesLogged(service) - searches, 1) << "only the album left before";

    const CliResult misused = runCliAgainstService({"tag", "--auto", "--min-score", "2", dir.path()});
    EXPECT_EQ(misused.exitCode, 2);
    EXPECT_TRUE(misused.err.contains("--min-score needs a number from 0 to 1, not \"2\""));
}

TEST(IdentifyCommand, CtrlCStopsTheRunBeforeTheNextAlbumWithNothingWritten)
{
    TemporaryCatalogue catalogue;
    catalogue.addFile("musicbrainz/search/" + gravelSearch + ".fault", "hang");
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    QTemporaryDir dir;
    const QList<FileToMake> files = numberedFiles(gravelAndRainLengths());
    ASSERT_TRUE(makeFiles(dir.filePath("Kestrel Road - Gravel and Rain"), files)
                && makeFiles(dir.filePath("Later"), files));
    const QList<QByteArray> before = contentsOf(pathsIn(dir.filePath("Later"), files));

    QTemporaryDir config;
    QProcess run;
    run.setProcessEnvironment(serviceEnvironment(service.environment(), config.path()));
    run.start(binDir() + "/tagwright-cli", {"tag", "--auto", dir.path()});
    ASSERT_TRUE(run.waitForStarted());
    // Once the first album's search waits for its answer, Ctrl+C.
    for (int i = 0; i < 300 && service.logLines().isEmpty(); ++i)
        QThread::msleep(20);
    ASSERT_FALSE(service.logLines().isEmpty());
    ::kill(pid_t(run.processId()), SIGINT);
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 130);
    const QByteArray err = run.readAllStandardError();
    EXPECT_TRUE(err.contains("stopped by Ctrl+C") && !err.contains("Folder 2 of 2")) << err.toStdString();
    EXPECT_EQ(service.logLines().size(), 1);
    EXPECT_EQ(contentsOf(pathsIn(dir.filePath("Later"), files)), before);
}
