#pragma once

#include "files/PropertyTagFile.h"

namespace TagLib::MP4 { class File; }

// The metadata items of an MP4 audio file (AAC or ALAC): iTunes atoms by TagLib's names,
// the cover as a "covr" JPEG.
class Mp4TagFile : public PropertyTagFile {
public:
    Mp4TagFile(const QString &path, std::unique_ptr<PlannedWriteStream> stream);

protected:
    QByteArray firstPicture() override;
    void setFrontCover(const QByteArray &jpeg) override;
    void removeEverything() override;
    QString formatProblem() override;

private:
    TagLib::MP4::File *m_mp4;
};
