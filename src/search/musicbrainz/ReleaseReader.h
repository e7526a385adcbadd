#pragma once

#include "album/ResultEntry.h"
#include "search/TextBounds.h"
#include "search/XmlDocument.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// Reads the release records of the MusicBrainz web service (ws/2 XML) into albums. Values are
// taken as the service gives them, within the text bounds. A search answer gives albums
// without tracks or cover; a lookup answer adds the genre and the tracks, medium by medium.
// One reader serves one answer and tells whether it cut any text.
class ReleaseReader {
public:
    // An artist credit as one line: each name-credit's own name (else its artist's name)
    // followed by its join phrase, and the first credited artist's identifier. The line
    // joins the first TextBounds::maxCreditNames names and is cut at TextBounds::maxLength.
    struct Credit {
        QString text;
        std::optional<QString> firstArtistId;
    };

    // The release elements of a search answer, in answer order.
    static QList<pugi::xml_node> releasesOfSearch(const XmlDocument &answer);
    // The release element of a lookup answer; a null node when there is none.
    static pugi::xml_node releaseOfLookup(const XmlDocument &answer);

    // The album fields a search answer carries: artist, title, year, label, disc and track
    // counts, ASIN, the identifiers and what tells its edition apart (ReleaseEditionReader).
    std::shared_ptr<ResultEntry> albumOfRelease(const pugi::xml_node &release);
    // Adds what a lookup answer carries beyond that: the genre with the most votes on the
    // release, else on its release group, and the track list, at most maxTracks long.
    void addLookupDetails(ResultEntry &album, const pugi::xml_node &release);

    // The credit of the element's own artist-credit child; nothing without one.
    std::optional<Credit> creditOf(const pugi::xml_node &owner);

    // Whether a text read so far was cut or a credit left names out.
    bool textsCut() const { return m_bounds.cut(); }

    static constexpr qsizetype maxTracks = maxTracksPerAlbum;

private:
    TextBounds m_bounds;
};
