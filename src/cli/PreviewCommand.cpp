#include "cli/CliCommand.h"
#include "cli/MaskArguments.h"
#include "cli/Mp3FileCheck.h"
#include "files/FileHandler.h"

#include <QTextStream>

namespace {

int runPreview(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    const auto parsed = MaskArguments::parse(args, &error);
    if (!parsed) {
        err << "tagwright-cli preview: " << error << "; see tagwright-cli --help\n";
        return 2;
    }
    if (!Mp3FileCheck::reportProblems(parsed->files, QStringLiteral("preview")))
        return 2;

    out << FileHandler().buildPreviewForFiles(parsed->files, parsed->mask) << "\n";
    return 0;
}

const CliCommandRegistration registration({
    QStringLiteral("preview"),
    QStringLiteral("preview --mask MASK FILE..."),
    QStringLiteral("Prints the name that renaming would give the first file, relative to its folder and\n"
                   "without the extension, with the tag values as they are (\"--\" for an empty mask)."),
    runPreview,
});

} // namespace
