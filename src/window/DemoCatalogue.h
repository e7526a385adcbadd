#pragma once

#include "search/ServiceConfig.h"

#include <QString>
#include <memory>

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

    bool start(QString *error);
    // All four storefronts pointing at the running server, with the credentials it expects.
    ServiceConfig config() const;

private:
    std::unique_ptr<CatalogueServer> m_server;
};
