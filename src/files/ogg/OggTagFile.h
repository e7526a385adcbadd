#pragma once

#include "files/PropertyTagFile.h"

namespace TagLib::Ogg { class XiphComment; }

// The Vorbis comment of an Ogg Vorbis, Opus or Ogg FLAC file, pictures as
// METADATA_BLOCK_PICTURE fields.
class OggTagFile : public PropertyTagFile {
public:
    enum class Codec { Vorbis, Opus, Flac };

    OggTagFile(const QString &path, std::unique_ptr<PlannedWriteStream> stream, Codec codec);

protected:
    QByteArray firstPicture() override;
    void setFrontCover(const QByteArray &jpeg) override;
    void removeEverything() override;

private:
    TagLib::Ogg::XiphComment *comment();
};
