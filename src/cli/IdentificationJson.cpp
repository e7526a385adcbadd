#include "cli/IdentificationJson.h"

#include "cli/AlbumJson.h"

#include <QJsonArray>
#include <cmath>

namespace {

QJsonValue orNull(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

// Two decimals say all a score can tell.
double rounded(double score)
{
    return std::round(score * 100) / 100;
}

QJsonObject cluesToJson(const Identification &identification)
{
    const AlbumClues &clues = identification.clues;
    QJsonArray queries;
    for (const AlbumClues::Query &query : clues.queries())
        queries.append(QJsonObject{{QStringLiteral("from"), AlbumClues::sourceName(query.source)},
                                   {QStringLiteral("query"), query.text}});
    return QJsonObject{
        {QStringLiteral("album"), orNull(clues.album)},
        {QStringLiteral("artist"), orNull(clues.artist)},
        {QStringLiteral("year"), clues.year > 0 ? QJsonValue(clues.year) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("tracks"), clues.trackCount},
        {QStringLiteral("words"), QJsonArray::fromStringList(clues.words)},
        {QStringLiteral("searches"), queries},
        {QStringLiteral("foundBy"), identification.foundBy ? QJsonValue(AlbumClues::sourceName(*identification.foundBy))
                                                           : QJsonValue(QJsonValue::Null)},
    };
}

QJsonArray pairingToJson(const Candidate &candidate, const QStringList &files)
{
    QJsonArray pairing;
    for (qsizetype f = 0; f < files.size(); ++f) {
        const qsizetype track = candidate.lineup.fileOfTrack.indexOf(int(f));
        pairing.append(QJsonObject{{QStringLiteral("file"), files.at(f)},
                                   {QStringLiteral("track"), track >= 0 ? QJsonValue(qint64(track)) : QJsonValue(QJsonValue::Null)}});
    }
    return pairing;
}

} // namespace

QJsonObject identificationToJson(const Identification &identification)
{
    const QStringList files = identification.files.paths();
    QJsonArray candidates;
    for (const Candidate &candidate : identification.candidates)
        candidates.append(QJsonObject{{QStringLiteral("score"), rounded(candidate.score)},
                                      {QStringLiteral("album"), albumToJson(*candidate.album)},
                                      {QStringLiteral("pairing"), pairingToJson(candidate, files)}});
    return QJsonObject{{QStringLiteral("folder"), identification.files.folder},
                       {QStringLiteral("files"), QJsonArray::fromStringList(files)},
                       {QStringLiteral("clues"), cluesToJson(identification)},
                       {QStringLiteral("candidates"), candidates}};
}

QString candidateLine(const Candidate &candidate)
{
    const ResultEntry &album = *candidate.album;
    return QStringLiteral("\"%1\" by %2 (release %3), score %4")
        .arg(album.albumName().value_or(QString()), album.artistName().value_or(QStringLiteral("an unknown artist")),
             album.id().value_or(QStringLiteral("without id")), QString::number(rounded(candidate.score), 'f', 2));
}
