#pragma once

#include "files/FileContentsPlan.h"
#include "files/TagLayout.h"
#include "files/mpeg/Id3TextFrame.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QImage>
#include <memory>
#include <optional>

class DurableWriteBatch;
namespace TagLib {
class FileStream;
namespace MPEG { class File; }
namespace ID3v1 { class Tag; }
namespace ID3v2 { class Tag; }
}

// The ID3 tags of one MP3 file, over TagLib: bound to a file by examineFile(), it answers
// for the file's tags, stages new values and writes them back through a DurableWriteBatch.
// Reading answers from the ID3v2 tag in front, else from one appended at the end, else from
// the ID3v1 tag. Writing puts an ID3v2.4 tag with UTF-8 text in front (taking the place of
// the tag it read) and keeps an existing ID3v1 tag in step (none is created); frames it
// does not set stay as they were, and so do all bytes that are not part of a tag it writes.
class MpegTags {
public:
    MpegTags();
    ~MpegTags();
    MpegTags(const MpegTags &) = delete;
    MpegTags &operator=(const MpegTags &) = delete;

    // Binds to a file; false when it cannot be read, and then neither tag is present.
    bool examineFile(const QString &path);
    // Why the bound file is not taken for an MP3 file ("" when it is): unreadable, or no
    // MPEG audio frame behind its front tags (junk may come between them).
    QString mp3Problem();
    // Why the bound file's tags cannot be changed ("" when they can): a problem of
    // mp3Problem(), or an ID3v2 tag that is damaged and must not be replaced by a new one.
    QString fileProblem();

    bool v1TagPresent() const;
    bool v2TagPresent() const;

    std::optional<QString> getArtist() const;
    std::optional<QString> getAlbum() const;
    std::optional<QString> getTitle() const;
    // The ID3v2 frames with that identifier, empty when there are none.
    QList<Id3TextFrame> getFrame(const QString &frameId) const;
    qint32 getYear() const;
    qint32 getTrack() const;
    qint32 getTotalNumberTracks() const;
    qint32 getDisk() const;
    qint32 getTotalNumberDisks() const;
    QStringList getGenreNames() const;
    // The first picture, decoded; nothing without one, or when it cannot be decoded.
    std::optional<QImage> firstPicture() const;
    // The text of the first user-defined text frame (TXXX) with that description, in any
    // letter case.
    std::optional<QString> getUserText(const QString &description) const;
    // The identifier of the first unique file identifier frame (UFID) of that owner.
    std::optional<QByteArray> getUniqueFileIdentifier(const QString &owner) const;
    // The audio's playing time in milliseconds from the MPEG headers (a VBR header, else the
    // first frame's bit rate over the audio's size): no decoding. Nothing when unreadable.
    std::optional<qint64> audioLengthMs() const;

    void setArtist(const QString &artist);
    void setTitle(const QString &title);
    void setAlbum(const QString &album);
    void setGenreName(const QStringList &genres);
    void setYear(qint32 year);
    void setTrack(qint32 track, qint32 totalTracks);
    void setDisk(qint32 disk, qint32 totalDisks);
    // Replaces the file's pictures by this JPEG picture as its front cover.
    void setFrontCover(const QByteArray &jpeg);
    void setComments(const QString &comment);
    // Adds a text frame; with `replace`, it takes the place of every frame with its identifier.
    void setFrame(const Id3TextFrame &frame, bool replace);
    // Replaces every user-defined text frame whose description matches, in any letter case,
    // by one with this text; an empty text only removes them.
    void setUserText(const QString &description, const QString &text);
    // Replaces every unique file identifier frame of the owner by one holding `identifier`;
    // an empty identifier only removes them.
    void setUniqueFileIdentifier(const QString &owner, const QByteArray &identifier);

    // Writes every staged value into the file through the batch; false with fileProblem()
    // or the writer's reason in `reason` when the file is left as it was.
    bool updateFile(DurableWriteBatch &batch, QString *reason);
    // Removes the file's ID3v1, ID3v2, APE and Lyrics3v2 tags through the batch.
    bool dropTag(DurableWriteBatch &batch, QString *reason);

private:
    struct Layout {
        qint64 size = 0;
        TagLayout::FrontTags front;  // where the ID3v2 tag is, or goes (empty without one)
        qint64 trailingStart = 0;    // start of the tags at the end, or the file's size
        qint64 audioStart = -1;      // the first MPEG audio frame, -1 for none
    };
    // Reads the front tags and looks for the audio the first time it is asked for.
    const Layout &layout();
    // A plan of the file that starts with what comes before its front tag; nothing, with
    // fileProblem() in `reason`, for a file that cannot be written.
    std::optional<FileContentsPlan> planFromStart(QString *reason);
    // The ID3v2 tag's bytes, padded to fill `room` (the old tag's size) where it fits.
    QByteArray renderedID3v2(qint64 room);
    const TagLib::ID3v2::Tag *readableID3v2() const;
    const TagLib::ID3v1::Tag *readableID3v1() const;
    TagLib::ID3v2::Tag *writableID3v2();
    TagLib::ID3v1::Tag *writableID3v1();
    void setTextFrame(const char *frameId, const QStringList &fields);
    QString textOfFrame(const char *frameId) const;

    QString m_path;       // as given to examineFile()
    QString m_writePath;  // the file m_path leads to, once a write or removal asked for it
    QString m_openError;
    std::unique_ptr<TagLib::FileStream> m_stream;
    std::unique_ptr<TagLib::MPEG::File> m_file;
    qint64 m_frontOffset = -1;   // where the ID3v2 tag in front starts, -1 without one
    QList<TagLayout::Region> m_trailingTags;
    std::optional<Layout> m_layout;
    // The last ID3v1 tag at the end, and the last appended ID3v2 tag when none is in front.
    std::unique_ptr<TagLib::ID3v1::Tag> m_id3v1;
    qint64 m_id3v1Offset = -1;
    std::unique_ptr<TagLib::ID3v2::Tag> m_appendedID3v2;
    qint64 m_appendedOffset = -1;
};
