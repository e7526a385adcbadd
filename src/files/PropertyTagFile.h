#pragma once

#include "files/PlannedWriteStream.h"
#include "files/TagFile.h"

#include <memory>

namespace TagLib { class File; class PropertyMap; }

// The tags of a format whose values TagLib reads and writes under its property names
// (Vorbis comment fields in FLAC and Ogg, iTunes atoms in MP4): "TITLE", "ARTIST", "ALBUM",
// "ALBUMARTIST", "DATE", "GENRE", "TRACKNUMBER", "DISCNUMBER" and the identifiers' names of
// CatalogueIds. Fields it does not set stay as they were; the comment is emptied. TagLib
// saves into a PlannedWriteStream, and the batch writes the plan: in place when the new
// tags take the place of the old ones as one run of bytes (within FLAC's padding, MP4's
// free space, the same Ogg pages), which a killed process leaves old or new; otherwise a
// new file (Ogg pages renumbered, MP4 chunk offsets moved, FLAC blocks outgrowing their
// room). Each format adds its pictures, how it numbers tracks and discs, and what removing
// its tags takes.
class PropertyTagFile : public TagFile {
public:
    ~PropertyTagFile() override;

    QString problem() override;
    std::optional<TagValues> read(CoverReading cover) override;
    std::optional<qint64> lengthMs() override;
    bool stageWrite(const TagValues &values, DurableWriteBatch &batch, QString *reason) override;
    bool stageRemoval(DurableWriteBatch &batch, QString *reason) override;

protected:
    // "n/T" in one field (MP4), or the number alone beside "TRACKTOTAL" and "DISCTOTAL"
    // (Vorbis comments).
    enum class Numbering { Pairs, SeparateTotals };
    PropertyTagFile(QString path, std::unique_ptr<PlannedWriteStream> stream, Numbering numbering);
    // Takes the TagLib file made over stream(); called once by the format's constructor.
    void setFile(std::unique_ptr<TagLib::File> file) { m_file = std::move(file); }
    TagLib::File &file() { return *m_file; }
    PlannedWriteStream *stream() { return m_stream.get(); }

    // The first picture's encoded bytes, empty without one.
    virtual QByteArray firstPicture() = 0;
    // Makes the JPEG the file's only picture, as its front cover.
    virtual void setFrontCover(const QByteArray &jpeg) = 0;
    // Removes every value and picture (a Vorbis comment keeps its vendor string).
    virtual void removeEverything() = 0;
    // Why the file, read by TagLib, is still not one to tag ("" when it is).
    virtual QString formatProblem() { return {}; }
    // Changes TagLib's save leaves out, made through the same stream.
    virtual void afterSave() {}

private:
    void putValues(TagLib::PropertyMap &properties, const TagValues &values) const;
    // Saves through the stream and stages the plan.
    bool save(DurableWriteBatch &batch, QString *reason);

    QString m_path;
    std::unique_ptr<PlannedWriteStream> m_stream;
    std::unique_ptr<TagLib::File> m_file;   // reads through m_stream; goes first
    Numbering m_numbering;
};
