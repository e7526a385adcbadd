#include "identify/AlbumFiles.h"

#include "files/FolderListing.h"
#include "lineup/TitleSimilarity.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

QStringList AlbumFiles::paths() const
{
    QStringList all;
    all.reserve(files.size());
    for (const AlbumFileFacts &file : files)
        all.append(file.clues.path);
    return all;
}

bool AlbumFiles::isDiscFolder(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(?:cd|dis[ck])[\s._-]*\d{1,2}\s*$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

QList<AlbumFiles::Folder> AlbumFiles::foldersOf(const QStringList &paths)
{
    QStringList files = FolderListing::filesIn(paths);
    FolderListing::sortNaturally(files);
    QList<Folder> folders;
    QHash<QString, qsizetype> indexOf;
    for (const QString &file : std::as_const(files)) {
        if (!AlbumFileFacts::isTaggable(file))
            continue;
        const QFileInfo folder(QFileInfo(file).path());
        const QString album = isDiscFolder(folder.fileName()) ? folder.path() : folder.filePath();
        const auto found = indexOf.constFind(album);
        if (found != indexOf.cend()) {
            folders[*found].files.append(file);
        } else {
            indexOf.insert(album, folders.size());
            folders.append({album, {file}});
        }
    }
    std::stable_sort(folders.begin(), folders.end(),
                     [](const Folder &a, const Folder &b) { return FolderListing::naturallyBefore(a.path, b.path); });
    return folders;
}

QList<AlbumFiles> AlbumFiles::read(const Folder &folder)
{
    QList<AlbumFileFacts> facts;
    facts.reserve(folder.files.size());
    for (const QString &path : folder.files)
        facts.append(AlbumFileFacts::read(path));
    return splitByAlbumTags(folder.path, facts);
}

QList<AlbumFiles> AlbumFiles::splitByAlbumTags(const QString &folder, const QList<AlbumFileFacts> &files)
{
    QList<AlbumFiles> albums;
    QHash<QString, qsizetype> indexOf; // by the album's name as tags write it, case and marks aside
    QList<AlbumFileFacts> unnamed;
    for (const AlbumFileFacts &file : files) {
        const QString name = TitleSimilarity::normalised(file.clues.album.value_or(QString()));
        if (name.isEmpty()) {
            unnamed.append(file);
            continue;
        }
        const auto found = indexOf.constFind(name);
        if (found != indexOf.cend()) {
            albums[*found].files.append(file);
        } else {
            indexOf.insert(name, albums.size());
            albums.append({folder, {file}});
        }
    }
    if (albums.size() == 1)
        albums.first().files.append(unnamed);
    else if (!unnamed.isEmpty())
        albums.append({folder, unnamed});
    for (AlbumFiles &album : albums) {
        std::stable_sort(album.files.begin(), album.files.end(), [](const AlbumFileFacts &a, const AlbumFileFacts &b) {
            return FolderListing::naturallyBefore(a.clues.path, b.clues.path);
        });
    }
    return albums;
}
