// tagwright-cli untag: removes the ID3v1, ID3v2, APE and Lyrics3v2 tags of MP3 files, wherever they sit.
#include "cli/CliCommand.h"
#include "cli/StatusLinePrinter.h"
#include "cli/Mp3FileCheck.h"
#include "common/JobControl.h"
#include "session/Session.h"

namespace {

int runUntag(const QCommandLineParser &parsed)
{
    const QStringList files = parsed.positionalArguments();
    if (!Mp3FileCheck::reportProblems(files, QStringLiteral("untag")))
        return 2;

    const Session session;
    const StatusLinePrinter progress(session);
    JobControl control;
    return Session::tagRemoval(files)(control).failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("untag"),
    QStringLiteral("Removes the ID3v1, ID3v2 (front or appended), APE and Lyrics3v2 tags of each MP3 file; the audio stays as it is.\n"
                   "Nothing is changed when any file is missing or not an MP3 file; a file with a damaged\n"
                   "ID3v2 tag is named and left as it is."),
    {},
    QStringLiteral("FILE..."),
    QStringLiteral("no MP3 files given"),
    runUntag,
});

} // namespace
