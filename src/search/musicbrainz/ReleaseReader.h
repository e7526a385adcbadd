#pragma once

#include "album/ResultEntry.h"
#include "search/XmlDocument.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// Reads the release records of the MusicBrainz web service (ws/2 XML) into albums. Values are
// taken as the service gives them. A search answer gives albums without tracks or cover; a
// lookup answer adds the genre and the tracks, medium by medium.
class ReleaseReader {
public:
    // An artist credit as one line: each name-credit's own name (else its artist's name)
    // followed by its join phrase, and the first credited artist's identifier.
    struct Credit {
        QString text;
        std::optional<QString> firstArtistId;
    };

    // The release elements of a search answer, in answer order.
    static QList<pugi::xml_node> releasesOfSearch(const XmlDocument &answer);
    // The release element of a lookup answer; a null node when there is none.
    static pugi::xml_node releaseOfLookup(const XmlDocument &answer);

    // The album fields a search answer carries: artist, title, year, label, disc and track
    // counts, ASIN and the identifiers.
    static std::shared_ptr<ResultEntry> albumOfRelease(const pugi::xml_node &release);
    // Adds what a lookup answer carries beyond that: the genre with the most votes on the
    // release, else on its release group, and the track list, at most maxTracks long.
    static void addLookupDetails(ResultEntry &album, const pugi::xml_node &release);

    // The credit of the element's own artist-credit child; nothing without one.
    static std::optional<Credit> creditOf(const pugi::xml_node &owner);

    static constexpr qsizetype maxTracks = 1000;
};
