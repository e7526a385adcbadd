#include "cli/Mp3FileCheck.h"

#include "files/TagAPI.h"

#include <QFileInfo>
#include <QTextStream>

namespace Mp3FileCheck {

std::optional<QString> problemWith(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a folder, not an MP3 file");
    // The tag object that reads, writes and removes the tags decides, so that every
    // command takes the same files; it opens no pipe or device, which would block.
    TagAPI tag;
    tag.examineFile(path);
    const QString problem = tag.mp3Problem();
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

} // namespace Mp3FileCheck
