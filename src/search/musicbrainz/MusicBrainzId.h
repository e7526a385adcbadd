#pragma once

#include <QString>
#include <optional>

// Recognises a MusicBrainz release typed in place of search keywords: its identifier, or the
// address of its page on the MusicBrainz site.
class MusicBrainzId {
public:
    // The release identifier (in lower case) that the keywords are, or that the address
    // https://musicbrainz.org/release/ID (any subpage, query or fragment after it) names;
    // nothing for other keywords. Blanks around the keywords do not count.
    static std::optional<QString> releaseIdFrom(const QString &keywords);
    // Whether the text is an identifier of the form 8-4-4-4-12 hexadecimal digits.
    static bool isReleaseId(const QString &text);
};
