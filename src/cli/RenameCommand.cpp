#include "cli/CliCommand.h"
#include "cli/MaskArguments.h"
#include "cli/StatusLinePrinter.h"
#include "cli/Mp3FileCheck.h"
#include "files/FileHandler.h"

#include <QTextStream>

namespace {

int runRename(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    auto parsed = MaskArguments::parse(args, &error);
    if (!parsed) {
        err << "tagwright-cli rename: " << error << "; see tagwright-cli --help\n";
        return 2;
    }
    if (!Mp3FileCheck::reportProblems(parsed->files, QStringLiteral("rename")))
        return 2;

    FileOutcome outcome;
    {
        const StatusLinePrinter progress;
        outcome = FileHandler().renameFiles(parsed->files, parsed->mask);
    }
    for (const QString &path : std::as_const(parsed->files))
        out << path << "\n";
    return outcome.failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("rename"),
    QStringLiteral("rename --mask MASK FILE..."),
    QStringLiteral("Renames each MP3 file after its own tags by the renaming mask and prints its new path\n"
                   "(the old one for a file that keeps its name). Placeholders: %a album artist, %b album,\n"
                   "%t title, %n track number (two digits), %y year, %r track artist; \"/\" in the mask makes\n"
                   "folders below the file's folder. An existing file is never replaced."),
    runRename,
});

} // namespace
