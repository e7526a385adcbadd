#pragma once

#include "search/ServiceConfig.h"

#include <QString>
#include <memory>

struct CatalogueServerOptions {
    QString root;                     // catalogue folder, laid out as CatalogueFolder.h describes
    quint16 port = 0;                 // 0 = any free port
    QString accessKey = ServiceConfig::placeholderAccessKey;
    QString secretKey = ServiceConfig::placeholderSecretKey;
    int latencyMs = 0;                // added before every answer
    QString logFile;                  // empty = no log
    // Manners checks for /ws/2/ requests, both off by default: the least time between two
    // requests' arrivals (0 = none; sooner gets 503), and a User-Agent "Name/Version ( contact )" (else 403).
    int musicBrainzIntervalMs = 0;
    bool requireUserAgent = false;
};

// The local catalogue service: answers signed ItemSearch requests, MusicBrainz release
// searches and lookups and Cover Art Archive front covers on 127.0.0.1 from a catalogue folder. It serves on threads of its own and never needs a Qt event loop, so a
// program whose main thread blocks in a search can host it.
class CatalogueServer {
public:
    explicit CatalogueServer(CatalogueServerOptions options);
    ~CatalogueServer();  // stops
    CatalogueServer(const CatalogueServer &) = delete;
    CatalogueServer &operator=(const CatalogueServer &) = delete;

    // Binds 127.0.0.1 and starts serving; port() is valid afterwards. On failure the
    // reason is put into *error.
    bool start(QString *error);
    quint16 port() const;
    // Ends every answer in progress (hanging and endless ones too) and waits for the
    // serving threads. Also safe when never started.
    void stop();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
