#pragma once

#include <QByteArray>
#include <QString>

// How Tagwright names and addresses the MusicBrainz web service (ws/2) and the Cover Art
// Archive: the requests' URLs and the User-Agent the service asks every client to send.
class MusicBrainzService {
public:
    // "musicbrainz": the code that chooses it wherever a storefront code is taken.
    static QString code();
    // "MusicBrainz": its name in status lines.
    static QString name();
    // "Tagwright/VERSION ( CONTACT )", sent with every request to both services.
    static QByteArray userAgent();

    // The text with a backslash before each character the search's query syntax (Lucene)
    // would read as an operator, so keywords are searched for as they are.
    static QString luceneEscaped(const QString &text);
    // {base}/ws/2/release/?query=QUERY&limit=25
    static QString searchUrl(const QString &base, const QString &keywords);
    // The same for a query in the search's own syntax, sent as it is.
    static QString queryUrl(const QString &base, const QString &query);
    // {base}/ws/2/release/MBID?inc=... with everything an album's tracks and tags need.
    static QString lookupUrl(const QString &base, const QString &releaseId);
    // {base}/release/MBID/front-500: a redirect to the front cover, 404 when there is none.
    static QString coverUrl(const QString &base, const QString &releaseId);

    static constexpr int searchLimit = 25;
};
