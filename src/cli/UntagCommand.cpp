// tagwright-cli untag: removes the ID3v1, ID3v2 and APE tags of MP3 files.
#include "cli/CliCommand.h"
#include "cli/Mp3FileCheck.h"
#include "cli/StatusLinePrinter.h"
#include "common/NotificationCenter.h"
#include "files/FileFailureNotification.h"
#include "files/FileHandler.h"

#include <QTextStream>

namespace {

int runUntag(const QStringList &files)
{
    QTextStream err(stderr);
    if (files.isEmpty()) {
        err << "tagwright-cli untag: no MP3 files given; see tagwright-cli --help\n";
        return 2;
    }
    // Every file is checked before the first one changes, so bad input changes nothing.
    const QStringList problems = Mp3FileCheck::problemLines(files);
    for (const QString &line : problems)
        err << "tagwright-cli untag: " << line << "\n";
    if (!problems.isEmpty())
        return 2;

    // A file left as it was (a damaged tag, a failed write) is named with the reason in the
    // status lines and fails the command.
    int failures = 0;
    const StatusLinePrinter status;
    const ScopedObserver failureCounter(QVFileFailedNotification,
                                        [&](const QString &, const void *, const QVariantMap &) { ++failures; });
    FileHandler().deleteTagsInMp3Files(files);
    return failures == 0 ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("untag"),
    QStringLiteral("untag FILE..."),
    QStringLiteral("Removes the ID3v1, ID3v2 and APE tags of each MP3 file; the audio stays as it is.\n"
                   "Nothing is changed when any file is missing or not an MP3 file; a file with a damaged\n"
                   "ID3v2 tag is named and left as it is."),
    runUntag,
});

} // namespace
