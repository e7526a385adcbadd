#pragma once

#include <QList>
#include <QString>

namespace TagLib { class File; }

// Where the tags of an MP3 file lie, told from the audio by each tag's own structure: the
// ID3v2 tag in front (with the copies right behind it that hold frames), and the ID3v1,
// APE, Lyrics3v2 and appended ID3v2 tags at the end, in any order. A byte is taken for part
// of a tag only when that tag's structure accounts for it, so no audio is ever counted in.
namespace TagLayout {

enum class Kind { ID3v2, APE, Lyrics3v2, ID3v1 };

struct Region {
    Kind kind = Kind::ID3v2;
    qint64 offset = 0;
    qint64 end = 0;
};

struct FrontTags {
    qint64 offset = 0;
    // End of the front tags; with a damaged tag, the end its header claims (past its header
    // when its size cannot be read), so that the audio is looked for behind it.
    qint64 end = 0;
    bool endsPastTheFile = false;
    QString damage;   // why the tag must not be replaced, "" when it may be
};

// The ID3v2 tag whose header starts at `offset`, and the copies right behind it that hold
// frames. A footer counts only in ID3v2.4 and only when it is there; the bytes between the
// last frame and the end the header claims must all be zero, or the tag is damaged.
FrontTags frontTags(TagLib::File &file, qint64 offset);

// The tags at the end of the file, in file order, none of them starting before `floor`.
QList<Region> trailingTags(TagLib::File &file, qint64 floor);

} // namespace TagLayout
