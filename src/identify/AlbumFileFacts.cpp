#include "identify/AlbumFileFacts.h"

#include "files/TagFile.h"

#include <QFileInfo>

namespace {

// The tag's text, absent when it is empty.
std::optional<QString> present(const QString &text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

AlbumFileFacts AlbumFileFacts::read(const QString &path)
{
    const std::unique_ptr<TagFile> file = TagFile::open(path);
    const std::optional<TagValues> tags = file->read(TagFile::CoverReading::Skip);
    AlbumFileFacts facts;
    facts.clues = FileClues::of(path, tags, file->lengthMs());
    if (!tags)
        return facts;
    facts.artist = present(tags->trackArtist.value_or(QString()));
    facts.albumArtist = present(tags->albumArtist);
    facts.year = tags->year;
    facts.releaseId = present(tags->id(CatalogueId::MusicBrainzAlbum));
    return facts;
}

bool AlbumFileFacts::isTaggable(const QString &path)
{
    return TagFile::suffixes().contains(QFileInfo(path).suffix().toLower());
}
