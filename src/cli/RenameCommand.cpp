#include "cli/CliCommand.h"
#include "cli/MaskArguments.h"
#include "cli/Mp3FileCheck.h"
#include "cli/StatusLinePrinter.h"
#include "files/FileHandler.h"
#include "files/FileRenamer.h"

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
    // Every file is checked before the first one moves, so bad input changes nothing.
    const QStringList problems = Mp3FileCheck::problemLines(parsed->files);
    for (const QString &line : problems)
        err << "tagwright-cli rename: " << line << "\n";
    if (!problems.isEmpty())
        return 1;

    FileHandler handler;
    QList<FileRenamer::Problem> notRenamed;
    {
        StatusLinePrinter status;
        notRenamed = FileRenamer(handler).renameFiles(parsed->files, parsed->mask);
    }
    for (const FileRenamer::Problem &problem : std::as_const(notRenamed))
        err << "tagwright-cli rename: " << problem.path << ": not renamed: " << problem.reason << "\n";
    err.flush();
    for (const QString &path : std::as_const(parsed->files))
        out << path << "\n";
    return notRenamed.isEmpty() ? 0 : 1;
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
