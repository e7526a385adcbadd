#pragma once

#include "files/TagFile.h"
#include "files/mpeg/MpegTags.h"

// An MP3 file's ID3 tags as a TagFile: values as MpegTags reads them, written as an ID3v2.4
// tag in front with "TPE2" for the album artist, removed with every ID3v1, ID3v2, APE and
// Lyrics3v2 tag it carries.
class MpegTagFile : public TagFile {
public:
    explicit MpegTagFile(const QString &path);

    QString problem() override;
    std::optional<TagValues> read(CoverReading cover) override;
    std::optional<qint64> lengthMs() override;
    bool stageWrite(const TagValues &values, DurableWriteBatch &batch, QString *reason) override;
    bool stageRemoval(DurableWriteBatch &batch, QString *reason) override;

private:
    MpegTags m_tags;
};
