#include "files/mpeg/MpegTags.h"

#include "files/DurableWriteBatch.h"
#include "files/FileContentsPlan.h"
#include "album/IntValue.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>
#include <taglib/uniquefileidentifierframe.h>

#include <cerrno>
#include <cstring>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TagLib;

namespace {

// Padding that a tag written in place may keep, as TagLib allows at most.
constexpr qint64 maximumPadding = 1024 * 1024;

QString toQString(const String &text)
{
    // TagLib holds its text as wide characters; taking them as they are spares a trip
    // through UTF-8.
    return QString::fromWCharArray(text.toCWString(), qsizetype(text.size()));
}

String toTagLib(const QString &text)
{
    return String(text.toUtf8().toStdString(), String::UTF8);
}

std::optional<QString> presentText(const String &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return toQString(text);
}

QString numberPair(qint32 number, qint32 total)
{
    if (total > 0)
        return QStringLiteral("%1/%2").arg(qMax(number, 0)).arg(total);
    return number > 0 ? QString::number(number) : QString();
}

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

std::optional<QString> MpegTags::getArtist() const
{
    if (const auto *v2 = readableID3v2())
        return presentText(v2->artist());
    if (const auto *v1 = readableID3v1())
        return presentText(v1->artist());
    return std::nullopt;
}

std::optional<QString> MpegTags::getAlbum() const
{
    if (const auto *v2 = readableID3v2())
        return presentText(v2->album());
    if (const auto *v1 = readableID3v1())
        return presentText(v1->album());
    return std::nullopt;
}

std::optional<QString> MpegTags::getTitle() const
{
    if (const auto *v2 = readableID3v2())
        return presentText(v2->title());
    if (const auto *v1 = readableID3v1())
        return presentText(v1->title());
    return std::nullopt;
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

void MpegTags::setTextFrame(const char *frameId, const QStringList &fields)
{
    ID3v2::Tag *v2 = writableID3v2();
    if (!v2)
        return;
    v2->removeFrames(frameId);
    StringList values;
    for (const QString &field : fields) {
        if (!field.isEmpty())
            values.append(toTagLib(field));
    }
    if (values.isEmpty())
        return;
    auto *frame = new ID3v2::TextIdentificationFrame(frameId, String::UTF8);
    frame->setText(values);
    v2->addFrame(frame);
}

void MpegTags::setArtist(const QString &artist)
{
    setTextFrame("TPE1", {artist});
    if (auto *v1 = writableID3v1())
        v1->setArtist(toTagLib(artist));
}

void MpegTags::setTitle(const QString &title)
{
    setTextFrame("TIT2", {title});
    if (auto *v1 = writableID3v1())
        v1->setTitle(toTagLib(title));
}

void MpegTags::setAlbum(const QString &album)
{
    setTextFrame("TALB", {album});
    if (auto *v1 = writableID3v1())
        v1->setAlbum(toTagLib(album));
}

void MpegTags::setGenreName(const QStringList &genres)
{
    setTextFrame("TCON", genres);
    if (auto *v1 = writableID3v1())
        v1->setGenre(genres.isEmpty() ? String() : toTagLib(genres.first()));
}

void MpegTags::setYear(qint32 year)
{
    setTextFrame("TDRC", {year > 0 ? QString::number(year) : QString()});
    if (auto *v1 = writableID3v1())
        v1->setYear(year > 0 ? unsigned(year) : 0);
}

void MpegTags::setTrack(qint32 track, qint32 totalTracks)
{
    setTextFrame("TRCK", {numberPair(track, totalTracks)});
    if (auto *v1 = writableID3v1())
        v1->setTrack(track > 0 && track < 256 ? unsigned(track) : 0);
}

void MpegTags::setDisk(qint32 disk, qint32 totalDisks)
{
    setTextFrame("TPOS", {numberPair(disk, totalDisks)});
}

void MpegTags::setFrontCover(const QByteArray &jpeg)
{
    ID3v2::Tag *v2 = writableID3v2();
    if (!v2)
        return;
    v2->removeFrames("APIC");
    auto *frame = new ID3v2::AttachedPictureFrame;
    frame->setTextEncoding(String::UTF8);
    frame->setType(ID3v2::AttachedPictureFrame::FrontCover);
    frame->setMimeType("image/jpeg");
    frame->setPicture(ByteVector(jpeg.constData(), unsigned(jpeg.size())));
    v2->addFrame(frame);
}

void MpegTags::setComments(const QString &comment)
{
    if (ID3v2::Tag *v2 = writableID3v2()) {
        v2->removeFrames("COMM");
        if (!comment.isEmpty()) {
            auto *frame = new ID3v2::CommentsFrame(String::UTF8);
            frame->setText(toTagLib(comment));
            v2->addFrame(frame);
        }
    }
    if (auto *v1 = writableID3v1())
        v1->setComment(toTagLib(comment));
}

void MpegTags::setFrame(const Id3TextFrame &frame, bool replace)
{
    ID3v2::Tag *v2 = writableID3v2();
    if (!v2)
        return;
    const ByteVector frameId(frame.frameId().toLatin1().constData());
    if (replace)
        v2->removeFrames(frameId);
    auto *text = new ID3v2::TextIdentificationFrame(frameId, String::UTF8);
    text->setText(toTagLib(frame.getTextFromFrame()));
    v2->addFrame(text);
}

void MpegTags::setUserText(const QString &description, const QString &text)
{
    ID3v2::Tag *v2 = writableID3v2();
    if (!v2)
        return;
    // Some taggers spell descriptions in capitals; a frame left in another case would
    // be a second answer for the same value.
    const QString wanted = description.toCaseFolded();
    const ID3v2::FrameList frames = v2->frameList("TXXX");
    for (ID3v2::Frame *frame : frames) {
        const auto *user = dynamic_cast<const ID3v2::UserTextIdentificationFrame *>(frame);
        if (user && toQString(user->description()).toCaseFolded() == wanted)
            v2->removeFrame(frame);
    }
    if (!text.isEmpty())
        v2->addFrame(new ID3v2::UserTextIdentificationFrame(toTagLib(description), StringList(toTagLib(text)), String::UTF8));
}

void MpegTags::setUniqueFileIdentifier(const QString &owner, const QByteArray &identifier)
{
    ID3v2::Tag *v2 = writableID3v2();
    if (!v2)
        return;
    const String wanted = toTagLib(owner);
    const ID3v2::FrameList frames = v2->frameList("UFID");
    for (ID3v2::Frame *frame : frames) {
        const auto *unique = dynamic_cast<const ID3v2::UniqueFileIdentifierFrame *>(frame);
        if (unique && unique->owner() == wanted)
            v2->removeFrame(frame);
    }
    if (!identifier.isEmpty())
        v2->addFrame(new ID3v2::UniqueFileIdentifierFrame(wanted, ByteVector(identifier.constData(), unsigned(identifier.size()))));
}

QByteArray MpegTags::renderedID3v2(qint64 room)
{
    const ByteVector rendered = writableID3v2()->render(ID3v2::v4);
    QByteArray bytes(rendered.data(), rendered.size());
    // TagLib pads a tag that shrinks only up to a limit and otherwise renders it smaller,
    // which costs a rewrite of the whole file. Filling the old room with more padding
    // lets the tag be written in place.
    ID3v2::Header header;
    header.setData(rendered.mid(0, ID3v2::Header::size()));
    const qint64 padding = room - bytes.size();
    if (padding > 0 && padding <= maximumPadding && !header.footerPresent()) {
        header.setTagSize(unsigned(room - ID3v2::Header::size()));
        const ByteVector newHeader = header.render();
        bytes.replace(0, newHeader.size(), QByteArray(newHeader.data(), newHeader.size()));
        bytes.append(QByteArray(padding, '\0'));
    }
    return bytes;
}

bool MpegTags::updateFile(DurableWriteBatch &batch, QString *reason)
{
    *reason = fileProblem();
    if (!reason->isEmpty())
        return false;
    const Layout &bounds = layout();
    FileContentsPlan plan(bounds.size);
    plan.appendRange(0, bounds.front.offset);
    plan.appendBytes(renderedID3v2(bounds.front.end - bounds.front.offset));
    // Junk, audio and the tags at the end stay as they are, but for the ID3v1 tag, which
    // takes the new values, and an appended ID3v2 tag that the new one replaces.
    plan.appendRange(bounds.front.end, bounds.trailingStart - bounds.front.end);
    for (const TagLayout::Region &tag : std::as_const(m_trailingTags)) {
        if (tag.offset == m_id3v1Offset) {
            const ByteVector id3v1 = m_id3v1->render();
            plan.appendBytes(QByteArray(id3v1.data(), id3v1.size()));
        } else if (!(m_appendedID3v2 && tag.offset == m_appendedOffset)) {
            plan.appendRange(tag.offset, tag.end - tag.offset);
        }
    }
    return batch.stage(m_writePath, plan, reason);
}

bool MpegTags::dropTag(DurableWriteBatch &batch, QString *reason)
{
    *reason = fileProblem();
    if (!reason->isEmpty())
        return false;
    const Layout &bounds = layout();
    FileContentsPlan plan(bounds.size);
    plan.appendRange(0, bounds.front.offset);
    plan.appendRange(bounds.front.end, bounds.trailingStart - bounds.front.end);
    return batch.stage(m_writePath, plan, reason);
}
