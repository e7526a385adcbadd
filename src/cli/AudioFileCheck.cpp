#include "cli/AudioFileCheck.h"

#include "files/TagFile.h"

#include <QFileInfo>
#include <QTextStream>

namespace AudioFileCheck {

std::optional<QString> problemWith(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a folder, not an audio file");
    // The tag file that reads, writes and removes the tags decides, so that every command
    // takes the same files; it opens no pipe or device, which would block.
    const QString problem = TagFile::open(path)->problem();
    return problem.isEmpty() ? std::nullopt : std::optional<QString>(problem);
}

bool reportProblems(const QStringList &paths, const QString &command)
{
    QTextStream err(stderr);
    bool none = true;
    for (const QString &path : paths) {
        if (const auto problem = problemWith(path)) {
            err << "tagwright-cli " << command << ": " << path << ": " << *problem << "\n";
            none = false;
        }
    }
    return none;
}

} // namespace AudioFileCheck
