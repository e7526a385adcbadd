// Writes COUNT tagged MP3 files into FOLDER for the renaming benchmark: ten album
// artists with ten albums each, twelve tracks an album, each file with a small cover.
#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_renaming_fixtures FOLDER COUNT\n");
        return 2;
    }
    const QString folder = args.at(1);
    const int count = args.at(2).toInt();
    QDir().mkpath(folder);
    const QByteArray cover = Mp3Fixtures::jpegPicture(300, 300);
    for (int i = 0; i < count; ++i) {
        const QVariantMap tags{
            {MetadataKeys::albumArtist, QStringLiteral("Artist %1").arg(i / 120 % 10)},
            {MetadataKeys::trackArtist, QStringLiteral("Singer %1").arg(i % 7)},
            {MetadataKeys::album, QStringLiteral("Album %1").arg(i / 12)},
            {MetadataKeys::title, QStringLiteral("Song number %1").arg(i)},
            {MetadataKeys::trackNumber, QString::number(i % 12 + 1)},
            {MetadataKeys::trackCount, QStringLiteral("12")},
            {MetadataKeys::year, QStringLiteral("1999")},
            {MetadataKeys::genre, QStringList{QStringLiteral("Rock")}},
            {MetadataKeys::cover, cover},
        };
        const QString path = QStringLiteral("%1/file-%2.mp3").arg(folder).arg(i, 4, 10, QChar(u'0'));
        if (!Mp3Fixtures::writeTaggedMp3(path, tags, 64 * 1024, quint32(i + 1))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
