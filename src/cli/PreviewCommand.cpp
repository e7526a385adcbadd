#include "cli/CliCommand.h"
#include "cli/MaskOption.h"
#include "cli/AudioFileCheck.h"
#include "session/Session.h"

#include <QTextStream>

namespace {

int runPreview(const QCommandLineParser &parsed)
{
    QTextStream out(stdout);
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("preview")))
        return 2;

    Session session;
    session.setFiles(files);
    out << session.preview(parsed.value(maskOption.name)) << "\n";
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
