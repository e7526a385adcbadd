// Writes the benchmark's input: COUNT untagged MP3 files of about SIZE bytes into DIR (or
// COUNT copies of the untagged TEMPLATE file, named by its suffix), and a JPEG cover of at
// least COVER bytes as DIR/../cover.jpg.
// Usage: bench_tagging_prepare DIR COUNT SIZE COVER [TEMPLATE]
#include "support/Mp3Fixtures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 && args.size() != 6) {
        std::fprintf(stderr, "usage: bench_tagging_prepare DIR COUNT SIZE COVER [TEMPLATE]\n");
        return 2;
    }
    const QDir dir(args[1]);
    dir.mkpath(QStringLiteral("."));
    const QString suffix = args.size() == 6 ? QFileInfo(args[5]).suffix() : QStringLiteral("mp3");
    for (int i = 0; i < args[2].toInt(); ++i) {
        const QString path = dir.filePath(QStringLiteral("track%1.%2").arg(i + 1, 3, 10, QChar(u'0')).arg(suffix));
        if (args.size() == 6 ? !QFile::copy(args[5], path)
                             : !Mp3Fixtures::writeMp3(path, args[3].toLongLong(), quint32(i + 1)))
            return 1;
    }
    // Noise compresses badly, so a modest picture reaches the wanted JPEG size.
    QRandomGenerator random(42);
    QByteArray jpeg;
    for (int side = 128; jpeg.size() < args[4].toLongLong(); side += 16) {
        QImage image(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                image.setPixel(x, y, random.generate() | 0xFF000000u);
        jpeg.clear();
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    QFile cover(dir.filePath(QStringLiteral("../cover.jpg")));
    return cover.open(QIODevice::WriteOnly) && cover.write(jpeg) == jpeg.size() ? 0 : 1;
}
