#include "files/mpeg/MpegTags.h"

#include <QFile>
#include <QFileInfo>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tfilestream.h>

#include <cerrno>
#include <cstring>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

// Binding to a file and finding its tags and audio; reading the values is in
// MpegTagsReading.cpp, staging and writing them in MpegTagsWriting.cpp.

using namespace TagLib;

namespace {

// TagLib reads a whole tag, cover included, into new buffers, and rendering a tag makes
// several more of its size. By default glibc hands memory of that size back to the system
// as soon as it is freed and then faults it in again, page by page, for the next file;
// for a tag that fits in place that was half the time of writing it. Kept in the process,
// the same pages serve file after file.
void keepFreedTagMemory()
{
    static const bool kept = ::mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024) == 1
                             && ::mallopt(M_TRIM_THRESHOLD, 32 * 1024 * 1024) == 1;
    Q_UNUSED(kept);
}

} // namespace

MpegTags::MpegTags()
{
    keepFreedTagMemory();
}

MpegTags::~MpegTags()
{
    // The tags and the file read from the stream; they go first.
    m_appendedID3v2.reset();
    m_id3v1.reset();
    m_file.reset();
}

bool MpegTags::examineFile(const QString &path)
{
    m_appendedID3v2.reset();
    m_id3v1.reset();
    m_file.reset();
    m_stream.reset();
    m_openError.clear();
    m_path = path;
    m_writePath.clear();
    m_frontOffset = m_id3v1Offset = m_appendedOffset = -1;
    m_trailingTags.clear();
    m_layout.reset();

    // Reading needs only one stat before the open: it keeps a folder, a pipe or a device
    // from being opened (a pipe would block). The path's target and the check of the tag
    // header wait until a write or removal asks for them.
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    if (::stat(encoded.constData(), &status) != 0) {
        m_openError = QStringLiteral("no such file");
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        m_openError = QStringLiteral("not a regular file");
        return false;
    }
    m_stream = std::make_unique<FileStream>(encoded.constData(), true);
    if (!m_stream->isOpen()) {
        m_stream.reset();
        m_openError = ::access(encoded.constData(), R_OK) != 0
                          ? QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))
                          : QStringLiteral("cannot be read");
        return false;
    }
    // Audio properties are never used; skipping them saves scanning the audio.
    m_file = std::make_unique<MPEG::File>(m_stream.get(), ID3v2::FrameFactory::instance(), false);

    // TagLib passes over a front tag whose header it cannot read; it still counts as a tag
    // (a damaged one), so that a new tag is never written in front of it.
    qint64 frontEnd = 0;
    if (m_file->hasID3v2Tag()) {
        m_frontOffset = m_file->find("ID3");
        frontEnd = qMin<qint64>(m_frontOffset + m_file->ID3v2Tag()->header()->completeTagSize(), m_file->length());
    } else {
        m_file->seek(0);
        if (m_file->readBlock(3) == ByteVector("ID3"))
            m_frontOffset = 0;
    }
    // The tags at the end take a few small reads, so reading looks for them all; values are
    // read from the last ID3v1 tag, and from the last appended ID3v2 tag when none is in front.
    m_trailingTags = TagLayout::trailingTags(*m_file, frontEnd);
    for (const TagLayout::Region &tag : std::as_const(m_trailingTags)) {
        if (tag.kind == TagLayout::Kind::ID3v1)
            m_id3v1Offset = tag.offset;
        else if (tag.kind == TagLayout::Kind::ID3v2)
            m_appendedOffset = tag.offset;
    }
    if (m_id3v1Offset >= 0)
        m_id3v1 = std::make_unique<ID3v1::Tag>(m_file.get(), long(m_id3v1Offset));
    if (m_frontOffset < 0 && m_appendedOffset >= 0)
        m_appendedID3v2 = std::make_unique<ID3v2::Tag>(m_file.get(), long(m_appendedOffset), ID3v2::FrameFactory::instance());
    return true;
}

const MpegTags::Layout &MpegTags::layout()
{
    if (m_layout)
        return *m_layout;
    Layout bounds;
    bounds.size = m_file->length();
    bounds.trailingStart = m_trailingTags.isEmpty() ? bounds.size : m_trailingTags.first().offset;
    if (m_frontOffset >= 0)
        bounds.front = TagLayout::frontTags(*m_file, m_frontOffset);
    // TagLib's own search finds the first frame past any junk behind the tag.
    if (!bounds.front.endsPastTheFile) {
        const qint64 audio = m_file->nextFrameOffset(long(bounds.front.end));
        if (audio >= 0 && audio < bounds.trailingStart)
            bounds.audioStart = audio;
    }
    m_layout = bounds;
    return *m_layout;
}

QString MpegTags::mp3Problem()
{
    if (!m_openError.isEmpty())
        return m_openError;
    if (layout().front.endsPastTheFile)
        return QStringLiteral("not an MP3 file (it ends inside its ID3 tag)");
    if (layout().audioStart < 0)
        return QStringLiteral("not an audio file Tagwright can tag (no MP3, FLAC, Ogg or MP4 audio found)");
    return {};
}

QString MpegTags::fileProblem()
{
    if (!m_openError.isEmpty())
        return m_openError;
    // Writes go to the file a link points at, named as it was when first asked for.
    if (m_writePath.isEmpty()) {
        m_writePath = QFileInfo(m_path).canonicalFilePath();
        if (m_writePath.isEmpty())
            return QStringLiteral("no such file");
    }
    const Layout &bounds = layout();
    if (!bounds.front.damage.isEmpty())
        return bounds.front.damage;
    if (const QString problem = mp3Problem(); !problem.isEmpty())
        return problem;
    if (bounds.front.end > bounds.trailingStart)
        return QStringLiteral("its tags overlap each other");
    return {};
}

bool MpegTags::v1TagPresent() const
{
    return m_id3v1 != nullptr;
}

bool MpegTags::v2TagPresent() const
{
    return m_file && (m_file->hasID3v2Tag() || m_appendedID3v2);
}

const ID3v2::Tag *MpegTags::readableID3v2() const
{
    if (!m_file)
        return nullptr;
    return m_file->hasID3v2Tag() ? m_file->ID3v2Tag() : m_appendedID3v2.get();
}

const ID3v1::Tag *MpegTags::readableID3v1() const
{
    return v2TagPresent() ? nullptr : m_id3v1.get();
}

ID3v2::Tag *MpegTags::writableID3v2()
{
    if (!m_file)
        return nullptr;
    return m_appendedID3v2 ? m_appendedID3v2.get() : m_file->ID3v2Tag(true);
}

ID3v1::Tag *MpegTags::writableID3v1()
{
    return m_id3v1.get();
}
