#include "files/mp4/Mp4TagFile.h"

#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>

using namespace TagLib;

namespace {

const char coverItem[] = "covr";

} // namespace

Mp4TagFile::Mp4TagFile(const QString &path, std::unique_ptr<PlannedWriteStream> stream)
    : PropertyTagFile(path, std::move(stream), Numbering::Pairs)
{
    auto file = std::make_unique<MP4::File>(this->stream(), true);
    m_mp4 = file.get();
    setFile(std::move(file));
}

QString Mp4TagFile::formatProblem()
{
    const MP4::Properties *properties = m_mp4->audioProperties();
    if (!properties || properties->codec() == MP4::Properties::Unknown)
        return QStringLiteral("an MP4 file without AAC or ALAC audio");
    return {};
}

QByteArray Mp4TagFile::firstPicture()
{
    const MP4::Tag *tag = m_mp4->tag();
    if (!tag || !tag->contains(coverItem))
        return {};
    const MP4::CoverArtList covers = tag->item(coverItem).toCoverArtList();
    if (covers.isEmpty())
        return {};
    const ByteVector data = covers.front().data();
    return QByteArray(data.data(), data.size());
}

void Mp4TagFile::setFrontCover(const QByteArray &jpeg)
{
    MP4::CoverArtList covers;
    covers.append(MP4::CoverArt(MP4::CoverArt::JPEG, ByteVector(jpeg.constData(), unsigned(jpeg.size()))));
    m_mp4->tag()->setItem(coverItem, covers);
}

void Mp4TagFile::removeEverything()
{
    MP4::Tag *tag = m_mp4->tag();
    if (!tag)
        return;
    StringList keys;
    for (const auto &[key, item] : tag->itemMap())
        keys.append(key);
    for (const String &key : keys)
        tag->removeItem(key);
}
