#pragma once

#include "files/TagValues.h"

class MpegTags;

// The catalogue identifiers in ID3v2, the way other taggers and players look for them: user
// text frames named as CatalogueIds gives, and the recording as a unique file identifier
// owned by "http://musicbrainz.org".
namespace Id3Identifiers {

// The identifiers the tag holds ("" for those it lacks).
void read(const MpegTags &tag, TagValues &values);

// Stages every identifier: the ones the values hold replace the file's, and the file loses
// those they do not hold, so no identifier of an earlier album stays behind.
void write(MpegTags &tag, const TagValues &values);

} // namespace Id3Identifiers
