#pragma once

#include <QByteArray>
#include <QImage>

// The image encoded in a file format Qt writes ("JPEG", "PNG"); empty for a null image or
// one that cannot be encoded, never a partly written picture.
QByteArray encodedImage(const QImage &image, const char *format);
