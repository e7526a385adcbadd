#pragma once

#include <QByteArray>

namespace TagLib::FLAC { class Picture; }

// A FLAC picture block of type 3 (front cover) holding the JPEG, with its size in pixels:
// FLAC files keep it as a block of its own, Ogg files as a METADATA_BLOCK_PICTURE field.
TagLib::FLAC::Picture *newFrontCoverPicture(const QByteArray &jpeg);
