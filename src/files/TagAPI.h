#pragma once

#include "files/id3V2Frame.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
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
// Reading answers from the ID3v2 tag when the file has one, else from the ID3v1 tag.
// Writing goes into an ID3v2.4 tag with UTF-8 text and keeps an existing ID3v1 tag in step
// (none is created); frames it does not set stay as they were.
class TagAPI {
public:
    TagAPI();
    ~TagAPI();
    TagAPI(const TagAPI &) = delete;
    TagAPI &operator=(const TagAPI &) = delete;

    // Binds to a file; false when it cannot be read, and then neither tag is present.
    bool examineFile(const QString &path);
    // Why the bound file's tags cannot be changed ("" when they can): unreadable, not an
    // MP3 file, or an ID3v2 tag that cannot be parsed and must not be replaced by a new one.
    QString fileProblem();

    bool v1TagPresent() const;
    bool v2TagPresent() const;

    std::optional<QString> getArtist() const;
    std::optional<QString> getAlbum() const;
    std::optional<QString> getTitle() const;
    // The ID3v2 frames with that identifier, empty when there are none.
    QList<id3V2Frame> getFrame(const QString &frameId) const;
    qint32 getYear() const;
    qint32 getTrack() const;
    qint32 getTotalNumberTracks() const;
    qint32 getTotalNumberDisks() const;
    QStringList getGenreNames() const;
    // Every picture as a picture dictionary, "Image" decoded.
    QList<QVariantMap> getImage() const;

    void setArtist(const QString &artist);
    void setTitle(const QString &title);
    void setAlbum(const QString &album);
    void setGenreName(const QStringList &genres);
    void setYear(qint32 year);
    void setTrack(qint32 track, qint32 totalTracks);
    void setDisk(qint32 disk, qint32 totalDisks);
    // Replaces the file's pictures by these picture dictionaries.
    void setImages(const QVariantList &pictures);
    void setComments(const QString &comment);
    // Adds a text frame; with `replace`, it takes the place of every frame with its identifier.
    void setFrame(const id3V2Frame &frame, bool replace);

    // Writes every staged value into the file through the batch; false with fileProblem()
    // or the writer's reason in `reason` when the file is left as it was.
    bool updateFile(DurableWriteBatch &batch, QString *reason);
    // Removes the file's ID3v1, ID3v2 and APE tags through the batch.
    bool dropTag(DurableWriteBatch &batch, QString *reason);

private:
    struct Layout {
        qint64 size = 0;
        qint64 id3v2Offset = 0;  // where the ID3v2 tag is, or goes
        qint64 id3v2End = 0;     // end of the ID3v2 tag; equal to the offset without one
        qint64 apeOffset = 0;    // start of the trailing APE tag, or of the ID3v1 tag
        qint64 id3v1Offset = 0;  // start of the ID3v1 tag, or the file's size
    };
    Layout layout() const;
    // The ID3v2 tag's bytes, padded to fill `room` (the old tag's size) where it fits.
    QByteArray renderedID3v2(qint64 room);
    // Why the ID3v2 tag must not be replaced, "" when it may be; reads the tag's header again.
    QString id3v2Damage();
    const TagLib::ID3v2::Tag *readableID3v2() const;
    const TagLib::ID3v1::Tag *readableID3v1() const;
    TagLib::ID3v2::Tag *writableID3v2();
    TagLib::ID3v1::Tag *writableID3v1();
    void setTextFrame(const char *frameId, const QStringList &fields);
    QString textOfFrame(const char *frameId) const;

    QString m_path;       // as given to examineFile()
    QString m_writePath;  // the file m_path leads to, once a write or removal asked for it
    QString m_openError;
    std::optional<QString> m_id3v2Damage;  // once a write or removal asked for it
    std::unique_ptr<TagLib::FileStream> m_stream;
    std::unique_ptr<TagLib::MPEG::File> m_file;
};
