#include "identify/AlbumClues.h"

#include "search/musicbrainz/MusicBrainzService.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

constexpr qsizetype maxWords = 8;

// The text most files give, when at least half the files that give any agree on it.
std::optional<QString> mostCommon(const QList<std::optional<QString>> &values)
{
    QHash<QString, int> counts;
    int given = 0;
    std::optional<QString> best;
    for (const std::optional<QString> &value : values) {
        const QString text = value.value_or(QString()).trimmed();
        if (text.isEmpty())
            continue;
        ++given;
        const int count = ++counts[text];
        if (!best || count > counts.value(*best))
            best = text;
    }
    if (best && counts.value(*best) * 2 < given)
        return std::nullopt;
    return best;
}

// A folder's name as words: underscores read as spaces, runs of spaces as one.
QString folderWords(const QString &name)
{
    return QString(name).replace(u'_', u' ').simplified();
}

// A phrase of the query syntax: only quotes and backslashes need escaping inside one.
QString phrase(const QString &text)
{
    return u'"' + QString(text).replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")) + u'"';
}

std::optional<QString> nonEmpty(const QString &text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

AlbumClues AlbumClues::of(const AlbumFiles &album)
{
    AlbumClues clues;
    QList<std::optional<QString>> albums, artists, years;
    for (const AlbumFileFacts &file : album.files) {
        albums.append(file.clues.album);
        artists.append(file.albumArtist);
        if (file.year > 0)
            years.append(QString::number(file.year));
    }
    clues.m_tagAlbum = mostCommon(albums);
    clues.m_tagArtist = mostCommon(artists);
    clues.m_folder = fromFolder(album.folder);
    clues.words = commonWords(album.paths());
    clues.trackCount = int(album.files.size());
    clues.album = clues.m_tagAlbum ? clues.m_tagAlbum : clues.m_folder.album;
    clues.artist = clues.m_tagArtist ? clues.m_tagArtist : clues.m_folder.artist;
    const std::optional<QString> tagYear = mostCommon(years);
    clues.year = tagYear ? tagYear->toInt() : clues.m_folder.year;
    return clues;
}

AlbumClues::FolderName AlbumClues::fromFolder(const QString &folder)
{
    const QFileInfo info(QDir::cleanPath(folder));
    const QString name = folderWords(info.fileName());
    static const QRegularExpression yearAtEnd(QStringLiteral(R"(^(.*?)\s*[(\[]((?:19|20)\d\d)[)\]]$)"));
    static const QRegularExpression artistAndAlbum(QStringLiteral(R"(^(.+?)\s+-\s+(.+)$)"));
    FolderName found;
    QString rest = name;
    if (const QRegularExpressionMatch year = yearAtEnd.match(rest); year.hasMatch()) {
        found.year = year.captured(2).toInt();
        rest = year.captured(1);
    }
    if (const QRegularExpressionMatch parts = artistAndAlbum.match(rest); parts.hasMatch()) {
        found.artist = parts.captured(1).trimmed();
        found.album = parts.captured(2).trimmed();
        return found;
    }
    // "Artist/Album": the folder above names the artist, unless it is the top of the tree.
    const QString parent = folderWords(QFileInfo(info.path()).fileName());
    found.album = nonEmpty(rest);
    if (found.album && !parent.isEmpty())
        found.artist = parent;
    return found;
}

QStringList AlbumClues::commonWords(const QStringList &paths)
{
    static const QRegularExpression separators(QStringLiteral(R"([^\p{L}\p{N}']+)"));
    static const QRegularExpression number(QStringLiteral(R"(^\d+$)"));
    QHash<QString, int> filesWith;
    QStringList order;
    for (const QString &path : paths) {
        QSet<QString> seen;
        for (const QString &word : QFileInfo(path).completeBaseName().split(separators, Qt::SkipEmptyParts)) {
            const QString key = word.toCaseFolded();
            if (word.size() < 2 || number.match(word).hasMatch() || seen.contains(key))
                continue;
            seen.insert(key);
            if (++filesWith[key] == 1)
                order.append(word);
        }
    }
    QStringList common;
    const int needed = std::max(2, int((paths.size() + 1) / 2));
    for (const QString &word : std::as_const(order)) {
        if (filesWith.value(word.toCaseFolded()) >= needed && common.size() < maxWords)
            common.append(word);
    }
    return common;
}

QList<AlbumClues::Query> AlbumClues::queries() const
{
    const QString hint = trackCount > 0 ? QStringLiteral(" tracks:%1").arg(trackCount) : QString();
    const auto fielded = [&hint](const QString &album, const std::optional<QString> &artist) {
        QString query = QStringLiteral("release:") + phrase(album);
        if (artist)
            query += QStringLiteral(" AND artist:") + phrase(*artist);
        return query + hint;
    };
    QList<Query> queries;
    if (m_tagAlbum)
        queries.append({Source::tags, fielded(*m_tagAlbum, m_tagArtist)});
    if (m_folder.album)
        queries.append({Source::folder, fielded(*m_folder.album, m_folder.artist)});
    if (!words.isEmpty())
        queries.append({Source::fileNames, MusicBrainzService::luceneEscaped(words.join(u' ')) + hint});
    return queries;
}

QString AlbumClues::sourceName(Source source)
{
    switch (source) {
    case Source::tags: return QStringLiteral("tags");
    case Source::folder: return QStringLiteral("folder");
    case Source::fileNames: return QStringLiteral("file names");
    }
    return QString();
}
