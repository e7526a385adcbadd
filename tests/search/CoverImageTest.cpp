#include "search/CoverImage.h"
#include "search/PictureEnd.h"
#include "support/TemporaryCatalogue.h"

#include <QBuffer>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

QByteArray progressiveJpeg()
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return buffer.data();
}

} // namespace

TEST(CoverImage, RefusesPicturesThatEndEarly)
{
    const QByteArray jpeg = encodedPicture(300, 200, "JPEG");
    const QByteArray png = encodedPicture(300, 200, "PNG");
    const QByteArray progressive = progressiveJpeg();
    // The bytes, and whether they end early; whole pictures decode, cut ones do not.
    const QList<std::pair<QByteArray, bool>> cases{
        {jpeg, false}, {jpeg + "trailing bytes", false}, {jpeg.left(jpeg.size() / 3), true}, {jpeg.chopped(2), true},
        {progressive, false}, {progressive.left(progressive.size() * 2 / 3), true},
        {png, false}, {png.left(png.size() / 3), true}, {png.chopped(4), true},
    };
    for (const auto &[bytes, endsEarly] : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(pictureEndsEarly(bytes), endsEarly);
        EXPECT_EQ(decodeCoverImage(bytes).has_value(), !endsEarly);
    }
    // Other formats are left to their decoders.
    EXPECT_FALSE(pictureEndsEarly(encodedPicture(30, 20, "BMP").left(100)) || pictureEndsEarly(QByteArray()));
    EXPECT_EQ(refusedCoverReason(jpeg.left(100), "http://user:pw@covers.example/a.jpg"),
              "the cover at http://covers.example/a.jpg is damaged (it ends early); no cover written");
}
