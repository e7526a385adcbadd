#include "cli/CliCommand.h"
#include "cli/MaskOption.h"
#include "cli/StatusLinePrinter.h"
#include "cli/AudioFileCheck.h"
#include "common/JobControl.h"
#include "session/Session.h"

#include <QTextStream>

namespace {

int runRename(const QCommandLineParser &parsed)
{
    QTextStream out(stdout);
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("rename")))
        return 2;

    Session session;
    session.setFiles(files);
    Session::Renamed renamed;
    {
        const StatusLinePrinter progress(session);
        JobControl control({}, session.statusSink());
        renamed = session.renaming(parsed.value(maskOption.name))(control);
    }
    for (const QString &path : std::as_const(renamed.files))
        out << path << "\n";
    return renamed.outcome.failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("rename"),
    QStringLiteral("Renames each audio file after its own tags by the renaming mask and prints its new path\n"
                   "(the old one for a file that keeps its name); folders the mask names are made below the\n"
                   "file's folder. An existing file is never replaced."),
    {maskOption},
    QStringLiteral("FILE..."),
    QStringLiteral("no FILE given"),
    runRename,
});

} // namespace
