#include "cli/CoverDownload.h"

#include "search/CoverImage.h"
#include "search/HttpFetcher.h"
#include "search/SearchOutcome.h"
#include "search/musicbrainz/MusicBrainzService.h"

#include <QUrl>

CoverDownload CoverDownload::fetch(const QString &url)
{
    const FetchResult result = HttpFetcher(FetchLimits{}, MusicBrainzService::userAgent()).fetch(url);
    if (!result.succeeded())
        return {std::nullopt, PageFailure::fetchFailed(1, result, QUrl(url).authority()).reason};
    std::optional<QImage> image = decodeCoverImage(result.body);
    if (!image)
        return {std::nullopt, QStringLiteral("the answer is not a picture that can be read")};
    return {std::move(image), QString()};
}
