// tagwright-cli untag: removes every tag and picture of audio files, wherever they sit.
#include "cli/CliCommand.h"
#include "cli/StatusLinePrinter.h"
#include "cli/AudioFileCheck.h"
#include "common/JobControl.h"
#include "session/Session.h"

namespace {

int runUntag(const QCommandLineParser &parsed)
{
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("untag")))
        return 2;

    Session session;
    const StatusLinePrinter progress(session);
    JobControl control({}, session.statusSink());
    return session.tagRemoval(files)(control).failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("untag"),
    QStringLiteral("Removes every tag and picture of each audio file; the audio stays as it is: the ID3v1,\n"
                   "ID3v2 (front or appended), APE and Lyrics3v2 tags of MP3 files, the Vorbis comment fields\n"
                   "(not the vendor string) and pictures of FLAC and Ogg files, with any ID3 or APE tag on a\n"
                   "FLAC file, and the metadata items of MP4 files.\n"
                   "Nothing is changed when any file is missing or not an audio file Tagwright tags; a file with a damaged\n"
                   "ID3v2 tag is named and left as it is."),
    {},
    QStringLiteral("FILE..."),
    QStringLiteral("no audio files given"),
    runUntag,
});

} // namespace
