#include "common/LibraryVersions.h"

#include <curl/curl.h>
#include <pugixml.hpp>
#include <taglib/taglib.h>

QString LibraryVersions::application()
{
    return QStringLiteral(TAGWRIGHT_VERSION);
}

QStringList LibraryVersions::libraries()
{
    const curl_version_info_data *curl = curl_version_info(CURLVERSION_NOW);
    return {
        QStringLiteral("Qt %1").arg(QLatin1String(qVersion())),
        QStringLiteral("TagLib %1.%2.%3").arg(TAGLIB_MAJOR_VERSION).arg(TAGLIB_MINOR_VERSION).arg(TAGLIB_PATCH_VERSION),
        QStringLiteral("libcurl %1").arg(QLatin1String(curl->version)),
        // PUGIXML_VERSION writes 1.13 as 1130, and wrote 1.9 as 190.
        PUGIXML_VERSION >= 1000 ? QStringLiteral("pugixml %1.%2").arg(PUGIXML_VERSION / 1000).arg(PUGIXML_VERSION % 1000 / 10)
                                : QStringLiteral("pugixml %1.%2").arg(PUGIXML_VERSION / 100).arg(PUGIXML_VERSION % 100 / 10),
        QStringLiteral("cpp-httplib %1").arg(QStringLiteral(TAGWRIGHT_HTTPLIB_VERSION)),
    };
}
