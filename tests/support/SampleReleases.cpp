#include "support/SampleReleases.h"

#include "support/Mp3Fixtures.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QDir>

namespace SampleReleases {

namespace {

QString sampleDir(const QString &below)
{
    return sourceDir() + QStringLiteral("/data/catalogue/") + below;
}

void copyFolder(TemporaryCatalogue &catalogue, const QString &below)
{
    const QDir from(sampleDir(below));
    for (const QString &name : from.entryList(QDir::Files))
        catalogue.addFile(below + u'/' + name, readBytes(from.filePath(name)));
}

} // namespace

const QList<qint64> &gravelAndRainLengths()
{
    static const QList<qint64> lengths{254600, 229333, 281000, 163666, 240200, 215400, 187960};
    return lengths;
}

const QList<qint64> &liveAtHarbourHallLengths()
{
    static const QList<qint64> lengths{187960, 243133, 301466, 176000, 268800, 198040,
                                       268800, 198040, 254600, 229333, 281000};
    return lengths;
}

bool makeFiles(const QString &folder, const QList<FileToMake> &files)
{
    quint32 seed = 1;
    for (const FileToMake &file : files) {
        const QByteArray tag = file.tags.isEmpty() ? QByteArray() : Mp3Fixtures::id3v2TagOf(file.tags);
        if (!writeBytes(folder + u'/' + file.name, tag + Mp3Fixtures::audioOfLength(file.lengthMs, seed++)))
            return false;
    }
    return true;
}

QList<FileToMake> numberedFiles(const QList<qint64> &lengths)
{
    QList<FileToMake> files;
    for (qsizetype i = 0; i < lengths.size(); ++i)
        files.append({QStringLiteral("%1.mp3").arg(i + 1, 2, 10, QLatin1Char('0')), lengths[i] + 1000});
    return files;
}

void addReleases(TemporaryCatalogue &catalogue)
{
    copyFolder(catalogue, QStringLiteral("musicbrainz/release"));
    copyFolder(catalogue, QStringLiteral("coverart"));
}

QByteArray searchAnswer(const QString &name)
{
    return readBytes(sampleDir(QStringLiteral("musicbrainz/search/%1.xml").arg(name)));
}

} // namespace SampleReleases
