#include "cli/CoverDownload.h"

#include "search/CoverImage.h"
#include "search/HttpFetcher.h"
#include "search/PictureEnd.h"
#include "search/SearchOutcome.h"
#include "search/musicbrainz/MusicBrainzService.h"

CoverDownload CoverDownload::fetch(const QString &url)
{
    const FetchResult result = HttpFetcher(FetchLimits{}, MusicBrainzService::userAgent()).fetch(url);
    if (!result.succeeded())
        return {std::nullopt, PageFailure::fetchFailed(1, result, shownHost(url), Fetched::Cover).reason};
    std::optional<QImage> image = decodeCoverImage(result.body);
    if (!image)
        return {std::nullopt, refusedCoverReason(result.body, url), pictureEndsEarly(result.body)};
    return {std::move(image), QString()};
}
