#include "files/flac/FrontCoverPicture.h"

#include <QBuffer>
#include <QImageReader>

#include <taglib/flacpicture.h>

TagLib::FLAC::Picture *newFrontCoverPicture(const QByteArray &jpeg)
{
    auto *picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType("image/jpeg");
    QBuffer buffer;
    buffer.setData(jpeg);
    const QSize size = QImageReader(&buffer, "JPEG").size();
    picture->setWidth(qMax(size.width(), 0));
    picture->setHeight(qMax(size.height(), 0));
    picture->setColorDepth(24);
    picture->setData(TagLib::ByteVector(jpeg.constData(), unsigned(jpeg.size())));
    return picture;
}
