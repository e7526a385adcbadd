#include "session/Mp3Listing.h"

#include "common/JobControl.h"
#include "files/FolderListing.h"
#include "files/TagAPI.h"

#include <QFileInfo>

Mp3Listing Mp3Listing::of(const QStringList &paths, JobControl *control)
{
    QStringList named;
    for (const QString &path : FolderListing::filesIn(paths))
        if (QFileInfo(path).suffix().compare(QLatin1String("mp3"), Qt::CaseInsensitive) == 0)
            named.append(path);
    Mp3Listing listing;
    for (qsizetype i = 0; i < named.size() && !cancelRequested(control); ++i) {
        // The tag object that writes the files decides, so that a file listed is one that
        // tagging takes.
        TagAPI tag;
        tag.examineFile(named.at(i));
        (tag.mp3Problem().isEmpty() ? listing.files : listing.refused).append(named.at(i));
        reportProgress(control, i + 1, named.size());
    }
    FolderListing::sortNaturally(listing.refused);
    return listing;
}
