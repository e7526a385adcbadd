#include "search/PictureEnd.h"

namespace {

quint8 byteAt(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes[at]);
}

bool isRestartOrStandalone(quint8 marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Walks the segments from after SOI: each marker with its length, and after a start of scan
// the entropy-coded data, where 0xFF is followed only by 0x00 (a stuffed byte), a restart
// marker or more 0xFF, up to the marker after it.
bool jpegEndsEarly(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    qsizetype at = 2;
    for (;;) {
        if (at >= size)
            return true;
        if (byteAt(bytes, at) != 0xFF)
            return false;
        while (at < size && byteAt(bytes, at) == 0xFF)
            ++at;
        if (at >= size)
            return true;
        const quint8 marker = byteAt(bytes, at++);
        if (marker == 0xD9)
            return false;
        if (isRestartOrStandalone(marker))
            continue;
        if (at + 2 > size)
            return true;
        const qsizetype length = (qsizetype(byteAt(bytes, at)) << 8) | byteAt(bytes, at + 1);
        if (length < 2)
            return false;
        at += length;
        if (at > size)
            return true;
        if (marker != 0xDA)
            continue;
        for (;;) {
            const qsizetype ff = bytes.indexOf(char(0xFF), at);
            if (ff < 0 || ff + 1 >= size)
                return true;
            const quint8 next = byteAt(bytes, ff + 1);
            if (next == 0x00 || next == 0xFF || isRestartOrStandalone(next)) {
                at = ff + 1;
            } else {
                at = ff;
                break;
            }
        }
    }
}

// Walks the chunks after the signature: length, type, data and CRC each.
bool pngEndsEarly(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    qsizetype at = 8;
    for (;;) {
        if (at + 8 > size)
            return true;
        const quint32 length = (quint32(byteAt(bytes, at)) << 24) | (quint32(byteAt(bytes, at + 1)) << 16)
                               | (quint32(byteAt(bytes, at + 2)) << 8) | byteAt(bytes, at + 3);
        if (at + 12 + qsizetype(length) > size)
            return true;
        if (bytes.mid(at + 4, 4) == "IEND")
            return false;
        at += 12 + qsizetype(length);
    }
}

} // namespace

bool pictureEndsEarly(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xD8"))
        return jpegEndsEarly(bytes);
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return pngEndsEarly(bytes);
    return false;
}
