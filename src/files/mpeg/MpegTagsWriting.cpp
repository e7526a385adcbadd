#include "files/mpeg/MpegTags.h"

#include "files/DurableWriteBatch.h"
#include "files/FileContentsPlan.h"
#include "files/mpeg/TagLibText.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/uniquefileidentifierframe.h>

// Staging new values in the tags, and writing them (or dropping the tags) through a batch.

using namespace TagLib;
using TagLibText::toQString;
using TagLibText::toTagLib;

namespace {

// Padding that a tag written in place may keep, as TagLib allows at most.
constexpr qint64 maximumPadding = 1024 * 1024;

QString numberPair(qint32 number, qint32 total)
{
    if (total > 0)
        return QStringLiteral("%1/%2").arg(qMax(number, 0)).arg(total);
    return number > 0 ? QString::number(number) : QString();
}

} // namespace

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

std::optional<FileContentsPlan> MpegTags::planFromStart(QString *reason)
{
    *reason = fileProblem();
    if (!reason->isEmpty())
        return std::nullopt;
    const Layout &bounds = layout();
    FileContentsPlan plan(bounds.size);
    plan.appendRange(0, bounds.front.offset);
    return plan;
}

bool MpegTags::updateFile(DurableWriteBatch &batch, QString *reason)
{
    std::optional<FileContentsPlan> plan = planFromStart(reason);
    if (!plan)
        return false;
    const Layout &bounds = layout();
    plan->appendBytes(renderedID3v2(bounds.front.end - bounds.front.offset));
    // Junk, audio and the tags at the end stay as they are, but for the ID3v1 tag, which
    // takes the new values, and an appended ID3v2 tag that the new one replaces.
    plan->appendRange(bounds.front.end, bounds.trailingStart - bounds.front.end);
    for (const TagLayout::Region &tag : std::as_const(m_trailingTags)) {
        if (tag.offset == m_id3v1Offset) {
            const ByteVector id3v1 = m_id3v1->render();
            plan->appendBytes(QByteArray(id3v1.data(), id3v1.size()));
        } else if (!(m_appendedID3v2 && tag.offset == m_appendedOffset)) {
            plan->appendRange(tag.offset, tag.end - tag.offset);
        }
    }
    return batch.stage(m_writePath, *plan, reason);
}

bool MpegTags::dropTag(DurableWriteBatch &batch, QString *reason)
{
    std::optional<FileContentsPlan> plan = planFromStart(reason);
    if (!plan)
        return false;
    const Layout &bounds = layout();
    plan->appendRange(bounds.front.end, bounds.trailingStart - bounds.front.end);
    return batch.stage(m_writePath, *plan, reason);
}
