#include "cli/CliCommand.h"
#include "cli/MaskOption.h"
#include "cli/AudioFileCheck.h"
#include "session/FileFacts.h"

#include <QTextStream>

namespace {

int runPreview(const QCommandLineParser &parsed)
{
    QTextStream out(stdout);
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("preview")))
        return 2;

    // The preview the window shows, made by the same code.
    out << FileFacts::read(files.mid(0, 1), parsed.value(maskOption.name)).preview << "\n";
    return 0;
}

const CliCommandRegistration registration({
    QStringLiteral("preview"),
    QStringLiteral("Prints the name that renaming would give the first file, relative to its folder and\n"
                   "without the extension, with the tag values as they are (\"--\" for an empty mask)."),
    {maskOption},
    QStringLiteral("FILE..."),
    QStringLiteral("no FILE given"),
    runPreview,
});

} // namespace
