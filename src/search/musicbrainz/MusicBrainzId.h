#pragma once

#include <QString>
#include <optional>

// MusicBrainz release identifiers as the service writes them: a UUID of 8-4-4-4-12 hexadecimal
// digits. An identifier goes into a request's path only once it has this form, so no text a
// user types or an answer holds can leave its path segment.
class MusicBrainzId {
public:
    // Whether the text is a release identifier, in either case.
    static bool isReleaseId(const QString &text);
    // The identifier (in lower case) that the text is, or that a release's address names:
    // "https://musicbrainz.org/release/ID", with or without the scheme,
    // on the site or a subdomain of it ("www.", "beta."), and with
    // anything after the identifier that starts a further path, a query or a fragment.
    static std::optional<QString> releaseIdFrom(const QString &text);
    // "not a MusicBrainz release id: "TEXT"", the refusal of anything else.
    static QString notAReleaseId(const QString &text);
};
