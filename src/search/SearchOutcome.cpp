#include "search/SearchOutcome.h"

#include "search/ServiceConfig.h"
#include "search/musicbrainz/MusicBrainzService.h"

#include <QStringList>

PageFailure PageFailure::noHost(qint32 page, const QString &storefront)
{
    QStringList codes = ServiceConfig::storefrontCodes() << MusicBrainzService::code();
    const QString last = codes.takeLast();
    const QString choices = QStringLiteral("choose %1 or %2").arg(codes.join(QStringLiteral(", ")), last);
    const QString reason = storefront.isEmpty()
                               ? QStringLiteral("no storefront is chosen; %1").arg(choices)
                               : QStringLiteral("\"%1\" is not a storefront; %2").arg(storefront, choices);
    return {page, reason};
}

namespace {

// "4 MiB", "100 KiB": a size bound as a failure names it.
QString sizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(bytes / (1024 * 1024));
    if (bytes >= 1024 && bytes % 1024 == 0)
        return QStringLiteral("%1 KiB").arg(bytes / 1024);
    return QStringLiteral("%1 bytes").arg(bytes);
}

QString tooLarge(Fetched fetched, const QString &host, qint64 bound)
{
    switch (fetched) {
    case Fetched::LookupAnswer:
        return QStringLiteral("the answer from %1 was larger than a look-up answer can be (%2)").arg(host, sizeText(bound));
    case Fetched::Cover:
        return QStringLiteral("the cover from %1 was larger than a cover can be (%2)").arg(host, sizeText(bound));
    case Fetched::SearchAnswer:
        break;
    }
    return QStringLiteral("the answer from %1 was larger than a search answer can be (%2)").arg(host, sizeText(bound));
}

} // namespace

PageFailure PageFailure::fetchFailed(qint32 page, const FetchResult &result, const QString &askedHost, Fetched fetched)
{
    const QString &host = result.redirectedHost.isEmpty() ? askedHost : result.redirectedHost;
    const QString detail = result.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(result.detail);
    switch (result.failure) {
    case FetchFailure::NoHost:
        return {page, QStringLiteral("the service host \"%1\" is not a usable host name; check the host in Service settings")
                          .arg(host)};
    case FetchFailure::NameLookup:
        return {page, QStringLiteral("could not find the host %1 (name look-up failed); check the host in Service "
                                     "settings and the network connection")
                          .arg(host)};
    case FetchFailure::ConnectionRefused:
        return {page, QStringLiteral("could not connect to %1 (connection refused)").arg(host)};
    case FetchFailure::CouldNotConnect:
        return {page, QStringLiteral("could not connect to %1%2").arg(host, detail)};
    case FetchFailure::TimedOut:
        return {page, QStringLiteral("%1 did not answer in time (time-out)").arg(host)};
    case FetchFailure::TooLarge:
        return {page, tooLarge(fetched, host, result.boundBytes)};
    case FetchFailure::HeaderTooLarge:
        return {page, QStringLiteral("the service sent a header larger than %1 KiB").arg(result.boundBytes / 1024)};
    case FetchFailure::HttpStatus:
        return {page, QStringLiteral("%1 answered with HTTP status %2").arg(host).arg(result.httpStatus)};
    case FetchFailure::None:
    case FetchFailure::Transfer:
        break;
    }
    return {page, QStringLiteral("the answer from %1 broke off%2").arg(host, detail)};
}

PageFailure PageFailure::serviceRefused(qint32 page, const QString &code)
{
    if (code == u"SignatureDoesNotMatch")
        return {page, QStringLiteral("the service refused the signature (SignatureDoesNotMatch); check the secret key "
                                     "in Service settings")};
    if (code == u"InvalidClientTokenId")
        return {page, QStringLiteral("the service does not know the access key (InvalidClientTokenId); check the "
                                     "access key in Service settings")};
    if (code == u"RequestExpired")
        return {page, QStringLiteral("the service refused the request as expired (RequestExpired); check the date, "
                                     "time and time zone of this computer")};
    return {page, QStringLiteral("the service refused the request (%1)").arg(code)};
}

PageFailure PageFailure::unreadable(qint32 page, const QString &host)
{
    return {page, QStringLiteral("the answer from %1 could not be read (not well-formed XML, or nested too deeply)")
                      .arg(host)};
}

std::optional<QString> SearchOutcome::failureStatus() const
{
    if (failures.isEmpty())
        return std::nullopt;
    if (everyPageFailed())
        return QStringLiteral("Search failed: %1.").arg(failures.first().reason);
    QStringList pages;
    for (const PageFailure &failure : failures)
        pages.append(QStringLiteral("page %1 failed: %2").arg(failure.page).arg(failure.reason));
    return QStringLiteral("Search incomplete: %1.").arg(pages.join(QStringLiteral("; ")));
}
