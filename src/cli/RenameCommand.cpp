#include "cli/CliCommand.h"
#include "cli/FileCommandProgress.h"
#include "cli/MaskOption.h"
#include "cli/Mp3FileCheck.h"
#include "files/FileHandler.h"

#include <QTextStream>

namespace {

int runRename(const QCommandLineParser &parsed)
{
    QTextStream out(stdout);
    QStringList files = parsed.positionalArguments();
    if (!Mp3FileCheck::reportProblems(files, QStringLiteral("rename")))
        return 2;

    int failures = 0;
    {
        const FileCommandProgress progress;
        FileHandler().renameFiles(files, parsed.value(maskOption.name));
        failures = progress.failures();
    }
    for (const QString &path : std::as_const(files))
        out << path << "\n";
    return failures == 0 ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("rename"),
    QStringLiteral("Renames each MP3 file after its own tags by the renaming mask and prints its new path\n"
                   "(the old one for a file that keeps its name); folders the mask names are made below the\n"
                   "file's folder. An existing file is never replaced."),
    {maskOption},
    QStringLiteral("FILE..."),
    QStringLiteral("no FILE given"),
    runRename,
});

} // namespace
