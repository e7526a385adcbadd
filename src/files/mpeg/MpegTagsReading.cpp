#include "files/mpeg/MpegTags.h"

#include "album/IntValue.h"
#include "files/mpeg/TagLibText.h"

#include <QImage>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/tag.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/uniquefileidentifierframe.h>

// The values of the file's tags: the ID3v2 tag first, else the ID3v1 tag.

using namespace TagLib;
using TagLibText::toQString;
using TagLibText::toTagLib;

namespace {

// The field of the ID3v2 tag when there is one, else of the ID3v1 tag; nothing when empty.
std::optional<QString> presentText(const Tag *v2, const Tag *v1, String (Tag::*field)() const)
{
    const Tag *tag = v2 ? v2 : v1;
    if (!tag)
        return std::nullopt;
    const String text = (tag->*field)();
    if (text.isEmpty())
        return std::nullopt;
    return toQString(text);
}

} // namespace

std::optional<QString> MpegTags::getArtist() const
{
    return presentText(readableID3v2(), readableID3v1(), &Tag::artist);
}

std::optional<QString> MpegTags::getAlbum() const
{
    return presentText(readableID3v2(), readableID3v1(), &Tag::album);
}

std::optional<QString> MpegTags::getTitle() const
{
    return presentText(readableID3v2(), readableID3v1(), &Tag::title);
}

QList<Id3TextFrame> MpegTags::getFrame(const QString &frameId) const
{
    QList<Id3TextFrame> frames;
    if (const auto *v2 = readableID3v2()) {
        const ID3v2::FrameList &found = v2->frameList(ByteVector(frameId.toLatin1().constData()));
        for (const ID3v2::Frame *frame : found)
            frames.append(Id3TextFrame(frameId, toQString(frame->toString())));
    }
    return frames;
}

QString MpegTags::textOfFrame(const char *frameId) const
{
    const ID3v2::Tag *v2 = readableID3v2();
    if (!v2)
        return {};
    const ID3v2::FrameList &frames = v2->frameList(frameId);
    return frames.isEmpty() ? QString() : toQString(frames.front()->toString());
}

qint32 MpegTags::getYear() const
{
    if (const auto *v2 = readableID3v2())
        return qint32(qMin<unsigned>(v2->year(), INT32_MAX));
    if (const auto *v1 = readableID3v1())
        return qint32(qMin<unsigned>(v1->year(), INT32_MAX));
    return 0;
}

qint32 MpegTags::getTrack() const
{
    if (readableID3v2())
        return intValue(textOfFrame("TRCK").section(u'/', 0, 0));
    if (const auto *v1 = readableID3v1())
        return qint32(v1->track());
    return 0;
}

qint32 MpegTags::getTotalNumberTracks() const
{
    return intValue(textOfFrame("TRCK").section(u'/', 1, 1));
}

qint32 MpegTags::getDisk() const
{
    return intValue(textOfFrame("TPOS").section(u'/', 0, 0));
}

qint32 MpegTags::getTotalNumberDisks() const
{
    return intValue(textOfFrame("TPOS").section(u'/', 1, 1));
}

QStringList MpegTags::getGenreNames() const
{
    QStringList names;
    if (const auto *v2 = readableID3v2()) {
        // The frame's property form turns ID3v1 genre numbers such as "(17)" into names.
        for (const ID3v2::Frame *frame : v2->frameList("TCON")) {
            const auto *text = dynamic_cast<const ID3v2::TextIdentificationFrame *>(frame);
            if (!text)
                continue;
            const PropertyMap properties = text->asProperties();
            for (const String &genre : properties["GENRE"])
                names.append(toQString(genre));
        }
    } else if (const auto *v1 = readableID3v1()) {
        if (!v1->genre().isEmpty())
            names.append(toQString(v1->genre()));
    }
    return names;
}

std::optional<qint64> MpegTags::audioLengthMs() const
{
    if (!m_file)
        return std::nullopt;
    // The file was opened without its audio properties; reading them now, in the fast style,
    // looks at the first and last frames only.
    const MPEG::Properties properties(m_file.get(), AudioProperties::Fast);
    if (properties.lengthInMilliseconds() <= 0)
        return std::nullopt;
    return properties.lengthInMilliseconds();
}

std::optional<QImage> MpegTags::firstPicture() const
{
    const ID3v2::Tag *v2 = readableID3v2();
    if (!v2)
        return std::nullopt;
    for (const ID3v2::Frame *frame : v2->frameList("APIC")) {
        if (const auto *picture = dynamic_cast<const ID3v2::AttachedPictureFrame *>(frame)) {
            const ByteVector data = picture->picture();
            QImage image = QImage::fromData(QByteArrayView(data.data(), data.size()));
            return image.isNull() ? std::nullopt : std::optional<QImage>(std::move(image));
        }
    }
    return std::nullopt;
}

std::optional<QString> MpegTags::getUserText(const QString &description) const
{
    const ID3v2::Tag *v2 = readableID3v2();
    if (!v2)
        return std::nullopt;
    const QString wanted = description.toCaseFolded();
    for (const ID3v2::Frame *frame : v2->frameList("TXXX")) {
        const auto *user = dynamic_cast<const ID3v2::UserTextIdentificationFrame *>(frame);
        if (!user || toQString(user->description()).toCaseFolded() != wanted)
            continue;
        // TagLib keeps the description as the first field, ahead of the values.
        StringList fields = user->fieldList();
        if (!fields.isEmpty())
            fields.erase(fields.begin());
        return toQString(fields.toString(";"));
    }
    return std::nullopt;
}

std::optional<QByteArray> MpegTags::getUniqueFileIdentifier(const QString &owner) const
{
    const ID3v2::Tag *v2 = readableID3v2();
    if (!v2)
        return std::nullopt;
    const String wanted = toTagLib(owner);
    for (const ID3v2::Frame *frame : v2->frameList("UFID")) {
        const auto *unique = dynamic_cast<const ID3v2::UniqueFileIdentifierFrame *>(frame);
        if (unique && unique->owner() == wanted) {
            const ByteVector identifier = unique->identifier();
            return QByteArray(identifier.data(), identifier.size());
        }
    }
    return std::nullopt;
}
