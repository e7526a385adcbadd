#include "search/CoverImage.h"

#include <QBuffer>
#include <QImageReader>

namespace {

constexpr qint64 maxCoverSide = 10'000;
constexpr qint64 maxCoverPixels = 25'000'000;

bool withinBounds(const QSize &size)
{
    return size.width() <= maxCoverSide && size.height() <= maxCoverSide
           && qint64(size.width()) * size.height() <= maxCoverPixels;
}

} // namespace

std::optional<QImage> decodeCoverImage(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Most formats state their size in the header, so the check comes before decoding; for
    // the others Qt's own allocation limit holds until the decoded size can be checked.
    const QSize announced = reader.size();
    if (announced.isValid() && !withinBounds(announced))
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull() || !withinBounds(image.size()))
        return std::nullopt;
    return image;
}
