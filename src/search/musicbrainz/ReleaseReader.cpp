#include "search/musicbrainz/ReleaseReader.h"

#include "album/IntValue.h"
#include "search/musicbrainz/ReleaseEditionReader.h"

#include <algorithm>
#include <limits>

namespace {

std::optional<QString> textOf(const pugi::xml_node &context, const char *path)
{
    const QList<pugi::xml_node> nodes = XmlDocument::nodesForXPath(context, path);
    if (nodes.isEmpty())
        return std::nullopt;
    return XmlDocument::stringValue(nodes.first());
}

std::optional<QString> attributeOf(const pugi::xml_node &node, const char *name)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        return std::nullopt;
    return QString::fromUtf8(attribute.value());
}

// The name of the genre with the most votes among the element's genres; the first one wins a tie.
std::optional<QString> mostVotedGenre(const pugi::xml_node &owner)
{
    std::optional<QString> best;
    qint32 bestVotes = 0;
    for (const pugi::xml_node &genre : XmlDocument::nodesForXPath(owner, "genre-list/genre")) {
        const qint32 votes = intValue(attributeOf(genre, "count").value_or(QString()));
        const std::optional<QString> name = textOf(genre, "name");
        if (name && (!best || votes > bestVotes)) {
            best = name;
            bestVotes = votes;
        }
    }
    return best;
}

// Its position when the element states one, else the place it comes in.
int positionOf(const pugi::xml_node &node, int order)
{
    const std::optional<QString> position = textOf(node, "position");
    const qint32 stated = position ? intValue(*position) : 0;
    return stated > 0 ? stated : order;
}

std::optional<qint64> lengthOf(const pugi::xml_node &node)
{
    const std::optional<QString> length = textOf(node, "length");
    if (!length)
        return std::nullopt;
    bool ok = false;
    const qint64 milliseconds = length->trimmed().toLongLong(&ok);
    return ok && milliseconds >= 0 ? std::optional(milliseconds) : std::nullopt;
}

} // namespace

QList<pugi::xml_node> ReleaseReader::releasesOfSearch(const XmlDocument &answer)
{
    return XmlDocument::nodesForXPath(answer.node(), "metadata/release-list/release");
}

pugi::xml_node ReleaseReader::releaseOfLookup(const XmlDocument &answer)
{
    const QList<pugi::xml_node> releases = XmlDocument::nodesForXPath(answer.node(), "metadata/release");
    return releases.isEmpty() ? pugi::xml_node() : releases.first();
}

std::optional<ReleaseReader::Credit> ReleaseReader::creditOf(const pugi::xml_node &owner)
{
    const QList<pugi::xml_node> names = XmlDocument::nodesForXPath(owner, "artist-credit/name-credit");
    if (names.isEmpty())
        return std::nullopt;
    Credit credit;
    const qsizetype kept = std::min(names.size(), TextBounds::maxCreditNames);
    if (kept < names.size())
        m_bounds.noteCut();
    // Past maxLength the rest would only be cut off again.
    for (qsizetype i = 0; i < kept && credit.text.size() <= TextBounds::maxLength; ++i) {
        const pugi::xml_node artist = names[i].child("artist");
        credit.text += textOf(names[i], "name").value_or(textOf(artist, "name").value_or(QString()));
        // The last name of a credit that leaves names out goes without its join phrase.
        if (i + 1 < kept || kept == names.size())
            credit.text += attributeOf(names[i], "joinphrase").value_or(QString());
        if (!credit.firstArtistId)
            credit.firstArtistId = attributeOf(artist, "id");
    }
    // Cut here, so the tracks that share the credit share the cut text.
    if (credit.text.size() > TextBounds::maxLength) {
        credit.text.truncate(TextBounds::maxLength);
        m_bounds.noteCut();
    }
    return credit;
}

std::shared_ptr<ResultEntry> ReleaseReader::albumOfRelease(const pugi::xml_node &release)
{
    auto album = std::make_shared<ResultEntry>();
    if (const std::optional<Credit> credit = creditOf(release)) {
        album->setArtistName(credit->text);
        album->setAlbumArtistId(credit->firstArtistId);
    }
    album->setAlbumName(textOf(release, "title"));
    if (const std::optional<QString> date = textOf(release, "date"))
        album->setYearOfPublication(date->left(4));
    album->setLabel(textOf(release, "label-info-list/label-info/label/name").value_or(QString()));
    album->setAsinNumber(textOf(release, "asin"));
    album->setId(attributeOf(release, "id"));
    album->setReleaseGroupId(attributeOf(release.child("release-group"), "id"));

    const QList<pugi::xml_node> media = XmlDocument::nodesForXPath(release, "medium-list/medium");
    qint64 tracks = 0;
    for (const pugi::xml_node &medium : media) {
        // A search answer lists no tracks, only how many there are.
        const pugi::xml_node trackList = medium.child("track-list");
        const std::optional<QString> count = attributeOf(trackList, "count");
        tracks += count ? std::max(0, intValue(*count)) : qint64(XmlDocument::nodesForXPath(trackList, "track").size());
    }
    album->setNumberOfDiscs(qint32(media.size()));
    album->setNumberOfTracks(qint32(std::min<qint64>(tracks, std::numeric_limits<qint32>::max())));
    ReleaseEditionReader::readInto(*album, release);
    m_bounds.bound(*album);
    return album;
}

void ReleaseReader::addLookupDetails(ResultEntry &album, const pugi::xml_node &release)
{
    std::optional<QString> genre = mostVotedGenre(release);
    if (!genre)
        genre = mostVotedGenre(release.child("release-group"));
    album.setGenre(genre);

    const std::optional<Credit> releaseCredit = creditOf(release);
    auto tracks = std::make_shared<TrackList>();
    const QList<pugi::xml_node> media = XmlDocument::nodesForXPath(release, "medium-list/medium");
    for (qsizetype m = 0; m < media.size() && tracks->size() < maxTracks; ++m) {
        const int disc = positionOf(media[m], int(m + 1));
        const QList<pugi::xml_node> trackNodes = XmlDocument::nodesForXPath(media[m], "track-list/track");
        for (qsizetype t = 0; t < trackNodes.size() && tracks->size() < maxTracks; ++t) {
            const pugi::xml_node &node = trackNodes[t];
            const pugi::xml_node recording = node.child("recording");
            auto track = std::make_shared<Track>();
            // The track's own title and credit can differ from its recording's.
            const std::optional<QString> ownTitle = textOf(node, "title");
            track->setTitle(ownTitle ? ownTitle : textOf(recording, "title"));
            std::optional<Credit> credit = creditOf(node);
            if (!credit)
                credit = creditOf(recording);
            if (!credit)
                credit = releaseCredit;
            if (credit) {
                track->setArtist(credit->text);
                track->setArtistId(credit->firstArtistId);
            }
            track->setDiscNumber(disc);
            track->setNumberOnDisc(positionOf(node, int(t + 1)));
            const std::optional<qint64> length = lengthOf(node);
            track->setLengthMs(length ? length : lengthOf(recording));
            track->setTrackId(attributeOf(node, "id"));
            track->setRecordingId(attributeOf(recording, "id"));
            tracks->append(std::move(track));
        }
    }
    album.setTrackList(std::move(tracks));
    m_bounds.bound(album);
}
