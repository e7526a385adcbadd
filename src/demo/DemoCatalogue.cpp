#include "demo/DemoCatalogue.h"

#include "catalogue/CatalogueServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

DemoCatalogue::DemoCatalogue() = default;
DemoCatalogue::~DemoCatalogue() = default;

QString DemoCatalogue::findRoot()
{
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tagwright/catalogue"),
        QStringLiteral(TAGWRIGHT_INSTALLED_CATALOGUE),
        QStringLiteral(TAGWRIGHT_SOURCE_CATALOGUE),
    };
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate).isDir())
            return QDir(candidate).canonicalPath();
    return QString();
}

std::function<std::optional<ServiceConfig>(QString *error)> DemoCatalogue::starter()
{
    return [demo = std::make_shared<DemoCatalogue>()](QString *error) { return demo->start(error); };
}

std::optional<ServiceConfig> DemoCatalogue::start(QString *error)
{
    if (!m_server) {
        const QString root = findRoot();
        if (root.isEmpty()) {
            if (error)
                *error = QCoreApplication::translate("DemoCatalogue", "no sample catalogue folder was found");
            return std::nullopt;
        }
        CatalogueServerOptions options;
        options.root = root;
        auto server = std::make_unique<CatalogueServer>(options);
        if (!server->start(error))
            return std::nullopt;
        m_server = std::move(server);
    }
    ServiceConfig config = ServiceConfig::placeholders();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(m_server->port());
    for (auto it = config.hosts.begin(); it != config.hosts.end(); ++it)
        it.value() = host;
    config.musicBrainzUrl = QStringLiteral("http://") + host;
    config.coverArtUrl = config.musicBrainzUrl;
    return config;
}
