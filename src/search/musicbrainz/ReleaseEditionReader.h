#pragma once

#include "album/ResultEntry.h"

#include <pugixml.hpp>

// Reads what tells one edition of an album from another out of a MusicBrainz release element
// (ws/2 XML, as a search answer and a lookup answer both give it): country, date, media
// formats, barcode, catalogue number and the kind of release. Nothing more is fetched; what
// the element lacks stays absent.
class ReleaseEditionReader {
public:
    static void readInto(ResultEntry &album, const pugi::xml_node &release);

    // The media as one line: each format once, with a count when there are several of it,
    // in the order they first come: "CD", "2×CD", "CD + DVD". Nothing without any format.
    static std::optional<QString> formatOf(const pugi::xml_node &release);
    // The release group's primary type ("Album", "Single", "EP", ...), or its secondary
    // types "Compilation" and "Live" where it has them; the older single "type" attribute
    // where it has neither.
    static std::optional<QString> releaseTypeOf(const pugi::xml_node &release);
};
