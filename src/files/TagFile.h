#pragma once

#include "files/TagValues.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class DurableWriteBatch;

// The tags of one audio file, whatever its format: reads its values, stages a new tag or the
// removal of every tag into a DurableWriteBatch, and tells its playing time and what is wrong
// with it. Made by open(), which tells the format from the file's content.
class TagFile {
public:
    enum class CoverReading { Decode, Skip };

    virtual ~TagFile() = default;

    // The tags of the file at `path`; never null. A file that cannot be read, or that holds
    // none of the formats Tagwright tags (MP3, FLAC, Ogg Vorbis, Opus, Ogg FLAC, MP4 audio),
    // answers with its problem() and no tags.
    static std::unique_ptr<TagFile> open(const QString &path);
    // The file name suffixes these formats go by, in lower case.
    static const QStringList &suffixes();

    // Why the file is not taken for an audio file Tagwright tags ("" when it is).
    virtual QString problem() = 0;
    // The values of its tags; nothing for a file without any tag, or one that cannot be read.
    virtual std::optional<TagValues> read(CoverReading cover) = 0;
    // The audio's playing time in milliseconds, from the format's own headers; nothing when
    // they do not tell.
    virtual std::optional<qint64> lengthMs() = 0;
    // Stages the file with these values written (see TagValues); false with the reason when
    // the file is left as it was.
    virtual bool stageWrite(const TagValues &values, DurableWriteBatch &batch, QString *reason) = 0;
    // Stages the file without any tag or picture; the audio stays as it is.
    virtual bool stageRemoval(DurableWriteBatch &batch, QString *reason) = 0;
};
