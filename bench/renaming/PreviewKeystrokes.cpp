// Times the renaming preview as the window rebuilds it on every keystroke in the mask
// field: a first file with a 1 MB cover, the mask typed one character at a time. For
// comparison it also times a full read that decodes the cover, which the preview skips.
#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// A JPEG of at least `bytes` bytes: noise does not compress.
QByteArray largeCover(qsizetype bytes)
{
    for (int side = 600;; side += 100) {
        QImage image(side, side, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                image.setPixel(x, y, random.generate());
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 90);
        if (jpeg.size() >= bytes)
            return jpeg;
    }
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void report(const char *what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: %zu calls, median %.3f ms, 95th percentile %.3f ms, max %.3f ms\n", what, times.size(),
                times[times.size() / 2], times[times.size() * 95 / 100], times.back());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("first.mp3"));
    const QByteArray cover = largeCover(1024 * 1024);
    const QVariantMap tags{{MetadataKeys::albumArtist, QStringLiteral("Band")}, {MetadataKeys::album, QStringLiteral("Record")},
                           {MetadataKeys::title, QStringLiteral("Intro")},     {MetadataKeys::trackNumber, QStringLiteral("7")},
                           {MetadataKeys::year, QStringLiteral("2004")},       {MetadataKeys::cover, cover}};
    if (!Mp3Fixtures::writeTaggedMp3(path, tags, 4 * 1024 * 1024)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("first file: %s with a %lld-byte cover\n", qPrintable(path), static_cast<long long>(cover.size()));

    const QString mask = QStringLiteral("%a/%b/%y - %n - %t (%r)");
    const QStringList files{path};
    FileHandler handler;
    std::vector<double> preview;
    for (int round = 0; round < 20; ++round) {
        for (qsizetype typed = 1; typed <= mask.size(); ++typed) {
            const auto start = std::chrono::steady_clock::now();
            const QString text = handler.buildPreviewForFiles(files, mask.left(typed));
            preview.push_back(millisecondsSince(start));
            if (text.isEmpty()) {
                std::fprintf(stderr, "the preview came back empty\n");
                return 1;
            }
        }
    }
    report("preview per keystroke", preview);

    std::vector<double> decoding;
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const QVariantMap read = MetadataKeys::toMap(handler.readTags(path));
        decoding.push_back(millisecondsSince(start));
        if (!read.contains(MetadataKeys::cover)) {
            std::fprintf(stderr, "the full read gave no cover\n");
            return 1;
        }
    }
    report("full read decoding the cover (not what the preview does)", decoding);
    return 0;
}
