#include "search/CoverImage.h"

#include "search/FetchResult.h"
#include "search/PictureEnd.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace {

constexpr qint64 maxCoverSide = 10'000;
constexpr qint64 maxCoverPixels = 25'000'000;

bool withinBounds(const QSize &size)
{
    return size.width() <= maxCoverSide && size.height() <= maxCoverSide
           && qint64(size.width()) * size.height() <= maxCoverPixels;
}

// The size within coverSide a side, aspect kept, never below one pixel.
QSize fittedSize(const QSize &size)
{
    if (size.width() <= coverSide && size.height() <= coverSide)
        return size;
    const QSize fitted = size.scaled(coverSide, coverSide, Qt::KeepAspectRatio);
    return {std::max(1, fitted.width()), std::max(1, fitted.height())};
}

} // namespace

std::optional<QImage> decodeCoverImage(const QByteArray &bytes)
{
    if (pictureEndsEarly(bytes))
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Most formats state their size in the header, so the check comes before decoding; for
    // the others Qt's own allocation limit holds until the decoded size can be checked.
    const QSize announced = reader.size();
    if (announced.isValid()) {
        if (!withinBounds(announced))
            return std::nullopt;
        // Formats that can (JPEG) then decode at the smaller size directly.
        if (fittedSize(announced) != announced)
            reader.setScaledSize(fittedSize(announced));
    }
    QImage image = reader.read();
    if (image.isNull() || !withinBounds(image.size()))
        return std::nullopt;
    if (fittedSize(image.size()) != image.size())
        image = image.scaled(fittedSize(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QString refusedCoverReason(const QByteArray &bytes, const QString &url)
{
    if (pictureEndsEarly(bytes))
        return QStringLiteral("the cover at %1 is damaged (it ends early); no cover written").arg(shownUrl(url));
    return QStringLiteral("the cover at %1 is not a picture that can be read, or too large a one").arg(shownUrl(url));
}
