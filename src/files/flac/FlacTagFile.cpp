#include "files/flac/FlacTagFile.h"

#include "files/TagLayout.h"
#include "files/flac/FrontCoverPicture.h"

#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/xiphcomment.h>

using namespace TagLib;

FlacTagFile::FlacTagFile(const QString &path, std::unique_ptr<PlannedWriteStream> stream)
    : PropertyTagFile(path, std::move(stream), Numbering::SeparateTotals)
{
    auto file = std::make_unique<FLAC::File>(this->stream(), ID3v2::FrameFactory::instance(), true);
    m_flac = file.get();
    setFile(std::move(file));
}

QByteArray FlacTagFile::firstPicture()
{
    const List<FLAC::Picture *> pictures = m_flac->pictureList();
    if (pictures.isEmpty())
        return {};
    const ByteVector data = pictures.front()->data();
    return QByteArray(data.data(), data.size());
}

void FlacTagFile::setFrontCover(const QByteArray &jpeg)
{
    m_flac->removePictures();
    m_flac->addPicture(newFrontCoverPicture(jpeg));
}

QString FlacTagFile::formatProblem()
{
    // TagLib reads on over a stream information block of another size, but players do not,
    // and a file they cannot play is not one to tag.
    const long start = m_flac->find("fLaC");
    m_flac->seek(start + 4);
    const ByteVector header = m_flac->readBlock(4);   // block type, then its length
    if (start < 0 || header.size() != 4 || (header[0] & 0x7f) != 0 || header.toUInt(1U, 3U) != 34)
        return QStringLiteral("a damaged FLAC file (its stream information block is not 34 bytes long)");
    return {};
}

void FlacTagFile::removeEverything()
{
    m_flac->strip(FLAC::File::ID3v1 | FLAC::File::ID3v2);
    m_flac->removePictures();
    m_flac->xiphComment(true)->removeAllFields();
    m_removing = true;
}

void FlacTagFile::afterSave()
{
    if (!m_removing)
        return;
    // TagLib keeps an APE tag (and Lyrics3v2) at the end of a FLAC file as it is; each goes,
    // the last first, so that the places of the others stay right.
    const QList<TagLayout::Region> tags = TagLayout::trailingTags(*m_flac, 4);
    for (auto tag = tags.crbegin(); tag != tags.crend(); ++tag)
        stream()->removeBlock(static_cast<unsigned long>(tag->offset), static_cast<unsigned long>(tag->end - tag->offset));
}
