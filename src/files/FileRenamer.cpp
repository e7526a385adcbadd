#include "files/FileRenamer.h"

#include "common/JobControl.h"

#include "files/ChangeRecorder.h"
#include "files/NoReplaceMove.h"
#include "files/RenamingMask.h"
#include "files/TagFile.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folders below a file's folder that a new name needs, created one level at a time.
// Remembers which ones it made, so that a move that fails afterwards can take them away
// again and leave no empty folders behind.
class NewFolders {
public:
    // Creates prefix + each leading run of components; the reason when one cannot be made.
    std::optional<QString> create(const QString &prefix, const QStringList &components)
    {
        QString folder = prefix;
        for (const QString &component : components) {
            folder += component;
            if (::mkdir(QFile::encodeName(folder).constData(), 0777) == 0) {
                m_made.prepend(folder);
            } else if (const int error = errno; error != EEXIST) {
                return QStringLiteral("cannot create the folder \"%1\" (%2)")
                    .arg(folder, NoReplaceMove::describeError(error));
            }
            folder += u'/';
        }
        return std::nullopt;
    }

    // Removes the folders this object made, innermost first; a folder that is no longer
    // empty (someone else put a file there meanwhile) stays.
    void removeMade()
    {
        for (const QString &folder : std::as_const(m_made))
            ::rmdir(QFile::encodeName(folder).constData());
        m_made.clear();
    }
    const QStringList &made() const { return m_made; }

private:
    QStringList m_made;
};

// The mask with the file's values put in. Nothing when the file has no tag, or none of the
// values the mask asks for: its name would be the mask's own text.
std::optional<QString> nameByTags(const QString &path, const QString &mask, RenamingMask::Values values)
{
    return RenamingMask::substitute(mask, TagFile::open(path)->read(TagFile::CoverReading::Skip), values);
}

} // namespace

qsizetype FileRenamer::renameFiles(QStringList &files, const QString &mask, const FailureHandler &onFailure,
                                   JobControl *control)
{
    qsizetype moved = 0;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        const QString oldPath = files.at(i);
        if (const auto reason = renameFile(files[i], mask))
            onFailure(files.at(i), *reason);
        else if (files.at(i) != oldPath)
            ++moved;
        reportStatus(control, QStringLiteral("New file renamed. %1 files processed.").arg(i + 1));
        reportProgress(control, i + 1, files.size());
    }
    return moved;
}

FileRenamer::Target FileRenamer::targetFor(const QString &path, const QString &mask)
{
    // The file's folder as written in its path, "/" included, so a bare file name stays
    // relative to the working folder.
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString fileName = path.mid(slash + 1);
    Target target{path, fileName, std::nullopt};
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);

    const std::optional<QString> name = nameByTags(path, mask, RenamingMask::Values::FileNameSafe);
    if (!name) {
        target.problem = noTagsReason();
        return target;
    }
    if ((target.problem = RenamingMask::problemWithName(*name)))
        return target;
    target.relativeName = RenamingMask::withoutEmptyFolders(*name);
    if (!extension.isEmpty())
        target.relativeName += u'.' + extension;
    target.path = path.left(slash + 1) + target.relativeName;
    return target;
}

std::optional<QString> FileRenamer::renameFile(QString &path, const QString &mask)
{
    const Target target = targetFor(path, mask);
    if (target.problem)
        return target.problem;
    const QString &newPath = target.path;
    if (newPath == path)
        return std::nullopt;

    const QString prefix = path.left(path.lastIndexOf(u'/') + 1);
    QStringList components = target.relativeName.split(u'/');
    components.removeLast();
    NewFolders folders;
    if (auto problem = folders.create(prefix, components)) {
        folders.removeMade();
        return problem;
    }
    ChangeRecorder *recorder = m_recorder;
    if (QString reason; recorder && !recorder->recordRename(path, newPath, folders.made(), &reason)) {
        folders.removeMade();
        return reason;
    }
    if (const int error = NoReplaceMove::move(path, newPath)) {
        folders.removeMade();
        return QStringLiteral("%1 (new name \"%2\")").arg(NoReplaceMove::describeError(error), newPath);
    }
    if (recorder)
        recorder->recordRenamed(newPath);
    path = newPath;
    return std::nullopt;
}

QString FileRenamer::buildPreview(const QStringList &files, const QString &mask)
{
    if (files.isEmpty() || mask.isEmpty())
        return QStringLiteral("--");
    // The name as renaming would make it: empty folder components drop out here too.
    const std::optional<QString> name = nameByTags(files.first(), mask, RenamingMask::Values::Unchanged);
    return name ? RenamingMask::withoutEmptyFolders(*name) : QStringLiteral("--");
}
