#pragma once

#include "identify/AlbumFiles.h"

#include <QString>
#include <QStringList>
#include <optional>

// What an album's files say about which release they are: the album and artist their tags
// name, else their folder's name ("Artist - Album", "Artist - Album (Year)", or the last two
// folders as "Artist/Album"), else the words most of their file names share; with the year
// and the number of files. Each source gives a release search of its own, best first.
struct AlbumClues {
    enum class Source { tags, folder, fileNames };
    // A release search built from one source of clues.
    struct Query {
        Source source;
        QString text; // in the service's query syntax
    };

    std::optional<QString> album;
    std::optional<QString> artist;
    int year = 0; // 0 when nothing says
    int trackCount = 0;
    QStringList words; // the words most file names share, in the order of the first name

    static AlbumClues of(const AlbumFiles &album);

    // The searches to try in turn, best clue first; empty when there is nothing to go on.
    QList<Query> queries() const;

    // "tags", "folder", "file names"
    static QString sourceName(Source source);

    // What the folder's name says, for folders named after their album.
    struct FolderName {
        std::optional<QString> artist;
        std::optional<QString> album;
        int year = 0;
    };
    static FolderName fromFolder(const QString &folder);
    static QStringList commonWords(const QStringList &paths);

private:
    std::optional<QString> m_tagAlbum;
    std::optional<QString> m_tagArtist;
    FolderName m_folder;
};
