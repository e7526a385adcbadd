#pragma once

#include "files/PropertyTagFile.h"

namespace TagLib::FLAC { class File; }

// A FLAC file's tags: its Vorbis comment and PICTURE blocks. Removal also takes away the
// ID3v2, ID3v1 and APE tags that some rippers put on FLAC files.
class FlacTagFile : public PropertyTagFile {
public:
    FlacTagFile(const QString &path, std::unique_ptr<PlannedWriteStream> stream);

protected:
    QByteArray firstPicture() override;
    void setFrontCover(const QByteArray &jpeg) override;
    void removeEverything() override;
    void afterSave() override;
    QString formatProblem() override;

private:
    TagLib::FLAC::File *m_flac;
    bool m_removing = false;
};
