#include "session/AudioListing.h"

#include "common/JobControl.h"
#include "files/FolderListing.h"
#include "files/TagFile.h"

#include <QFileInfo>

AudioListing AudioListing::of(const QStringList &paths, JobControl *control)
{
    QStringList named;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            named.append(path);
            continue;
        }
        for (const QString &file : FolderListing::filesIn({path})) {
            if (TagFile::suffixes().contains(QFileInfo(file).suffix().toLower()))
                named.append(file);
        }
    }
    AudioListing listing;
    for (qsizetype i = 0; i < named.size() && !cancelRequested(control); ++i) {
        // The tag file that writes the files decides, so that a file listed is one that
        // tagging takes.
        (TagFile::open(named.at(i))->problem().isEmpty() ? listing.files : listing.refused).append(named.at(i));
        reportProgress(control, i + 1, named.size());
    }
    FolderListing::sortNaturally(listing.refused);
    return listing;
}
