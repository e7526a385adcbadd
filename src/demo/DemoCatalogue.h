#pragma once

#include "search/ServiceConfig.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CatalogueServer;

// The bundled sample catalogue served in-process on a free loopback port, so that a new
// user can search without credentials. The server runs on its own threads.
class DemoCatalogue {
public:
    DemoCatalogue();
    ~DemoCatalogue();

    // The sample catalogue folder: beside the installed program, under the install
    // prefix, or in the source tree; empty when none is found.
    static QString findRoot();

    // What the window calls when it wants the demo: the first call starts a demo catalogue,
    // which then runs for as long as the returned function is kept.
    static std::function<std::optional<ServiceConfig>(QString *error)> starter();

    // Starts the server unless it runs already. Gives all four storefronts, MusicBrainz and
    // the Cover Art Archive pointing at it, with the credentials it expects, or nothing (and why in error) when it cannot start.
    std::optional<ServiceConfig> start(QString *error);

private:
    std::unique_ptr<CatalogueServer> m_server;
};
