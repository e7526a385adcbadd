#include "window/DemoCatalogue.h"

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

bool DemoCatalogue::start(QString *error)
{
    const QString root = findRoot();
    if (root.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("DemoCatalogue", "no sample catalogue folder was found");
        return false;
    }
    CatalogueServerOptions options;
    options.root = root;
    auto server = std::make_unique<CatalogueServer>(options);
    if (!server->start(error))
        return false;
    m_server = std::move(server);
    return true;
}

ServiceConfig DemoCatalogue::config() const
{
    ServiceConfig config = ServiceConfig::placeholders();
    if (!m_server)
        return config;
    const QString host = QStringLiteral("127.0.0.1:%1").arg(m_server->port());
    for (auto it = config.hosts.begin(); it != config.hosts.end(); ++it)
        it.value() = host;
    return config;
}
