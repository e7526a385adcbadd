#include "identify/FileFacts.h"

#include "files/SongMetadata.h"
#include "files/SongMetadataReader.h"
#include "search/IntValue.h"

#include <QFileInfo>

namespace {

// The tag's text, absent when it is empty.
std::optional<QString> present(const QString &text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

FileFacts FileFacts::read(const QString &path)
{
    FileFacts facts;
    facts.clues = FileClues::read(path);
    const SongMetadataReader tags(path);
    if (!tags.hasTags())
        return facts;
    facts.artist = present(tags.value(QVArtistTrackTag));
    facts.albumArtist = present(tags.value(QVArtistAlbumTag));
    facts.year = intValue(tags.value(QVYearTag));
    facts.releaseId = present(tags.value(QVMusicBrainzAlbumIdTag));
    return facts;
}

bool FileFacts::isTaggable(const QString &path)
{
    return QFileInfo(path).suffix().compare(u"mp3", Qt::CaseInsensitive) == 0;
}
