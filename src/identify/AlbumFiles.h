#pragma once

#include "identify/AlbumFileFacts.h"

#include <QList>
#include <QString>
#include <QStringList>

// The files of one album as they lie on disk: the folder that holds them (the parent of its
// disc folders) and what each file offers, in natural order.
struct AlbumFiles {
    // A folder with the taggable files it holds, its disc folders' included.
    struct Folder {
        QString path;
        QStringList files;
    };

    QString folder;
    QList<AlbumFileFacts> files;

    QStringList paths() const;

    // The taggable files among the paths (folders read to any depth), by album folder: a
    // folder is an album, and disc folders ("CD1", "CD 2", "Disc 3", "disc2") join their
    // parent. Reads names only; folders and files come in natural order.
    static QList<Folder> foldersOf(const QStringList &paths);
    // The folder's albums: reads what each file offers and splits them by their tags.
    static QList<AlbumFiles> read(const Folder &folder);
    // A folder's files as albums: one, or one per album that their tags name when they name
    // several. A file naming none joins the only album named, else they form one of their own.
    static QList<AlbumFiles> splitByAlbumTags(const QString &folder, const QList<AlbumFileFacts> &files);
    // Whether a folder of this name holds one disc of a set.
    static bool isDiscFolder(const QString &name);
};
