#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// The image encoded in the given format ("JPEG", "PNG", ...), as a file would hold it.
inline QByteArray encodedImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
