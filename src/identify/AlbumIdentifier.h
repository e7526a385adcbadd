#pragma once

#include "identify/Identification.h"

#include <QStringList>

class JobControl;
class MusicBrainzSearch;
struct ServiceConfig;

// Finds which MusicBrainz release an album of files is: searches by the best clues the files
// give (the next clues when a search finds nothing), looks the first releases found up one by
// one, and scores each against the files. A look-up that fails leaves that release out and
// says so. Progress is requests done of those planned; a cancel stops before the next request.
class AlbumIdentifier {
public:
    explicit AlbumIdentifier(MusicBrainzSearch &search) : m_search(search) {}

    Identification identify(const AlbumFiles &album, JobControl &control);

    // For a job on files a user listed: every album among them, identified in turn on the
    // service the settings name.
    static QList<Identification> identifyFiles(const ServiceConfig &config, const QStringList &files,
                                               JobControl &control);

    // How many of the releases a search finds are looked up.
    static constexpr qsizetype candidateLimit = 5;

private:
    MusicBrainzSearch &m_search;
};
