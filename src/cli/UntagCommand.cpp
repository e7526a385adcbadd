// tagwright-cli untag: removes the ID3v1, ID3v2 and APE tags of MP3 files.
#include "cli/CliCommand.h"
#include "cli/Mp3Arguments.h"
#include "cli/StatusEcho.h"
#include "files/FileHandler.h"

namespace {

int runUntag(const QStringList &files)
{
    // A bad argument stops the whole command before any file is touched.
    if (!checkMp3Arguments(QStringLiteral("untag"), files))
        return 2;
    StatusEcho echo;
    FileHandler().deleteTagsInMp3Files(files);
    return echo.failedFiles() == 0 ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("untag"),
    QStringLiteral("untag FILE..."),
    QStringLiteral("Removes the ID3v1, ID3v2 and APE tags of each MP3 file; the audio stays as it is.\n"
                   "Nothing is changed when any file is missing, not an MP3 file or has a damaged tag."),
    runUntag,
});

} // namespace
