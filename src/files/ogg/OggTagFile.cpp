#include "files/ogg/OggTagFile.h"

#include "files/flac/FrontCoverPicture.h"

#include <taglib/flacpicture.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

using namespace TagLib;

namespace {

std::unique_ptr<TagLib::File> oggFile(IOStream *stream, OggTagFile::Codec codec)
{
    switch (codec) {
    case OggTagFile::Codec::Vorbis:
        return std::make_unique<Ogg::Vorbis::File>(stream, true);
    case OggTagFile::Codec::Opus:
        return std::make_unique<Ogg::Opus::File>(stream, true);
    case OggTagFile::Codec::Flac:
        break;
    }
    return std::make_unique<Ogg::FLAC::File>(stream, true);
}

} // namespace

OggTagFile::OggTagFile(const QString &path, std::unique_ptr<PlannedWriteStream> stream, Codec codec)
    : PropertyTagFile(path, std::move(stream), Numbering::SeparateTotals)
{
    setFile(oggFile(this->stream(), codec));
}

Ogg::XiphComment *OggTagFile::comment()
{
    return dynamic_cast<Ogg::XiphComment *>(file().tag());
}

QByteArray OggTagFile::firstPicture()
{
    Ogg::XiphComment *xiph = comment();
    const List<FLAC::Picture *> pictures = xiph ? xiph->pictureList() : List<FLAC::Picture *>();
    if (pictures.isEmpty())
        return {};
    const ByteVector data = pictures.front()->data();
    return QByteArray(data.data(), data.size());
}

void OggTagFile::setFrontCover(const QByteArray &jpeg)
{
    if (Ogg::XiphComment *xiph = comment()) {
        xiph->removeAllPictures();
        xiph->addPicture(newFrontCoverPicture(jpeg));
    }
}

void OggTagFile::removeEverything()
{
    if (Ogg::XiphComment *xiph = comment()) {
        xiph->removeAllFields();
        xiph->removeAllPictures();
    }
}
