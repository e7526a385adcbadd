#include "lineup/PairScore.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Weights of the clues. A number the tags or the name give for another track counts
// against a pair, less than it counts for the track it names: a second file may claim that
// track, and then its title decides where it goes.
constexpr double tagHit = 8;
constexpr double tagMiss = -3;
constexpr double nameHit = 4;
constexpr double nameMiss = -1;
constexpr double bracketedHit = 1;
constexpr double titleWeight = 3;
constexpr double titleFloor = 0.35; // similarity below which titles say nothing
constexpr double lengthNear = 2;
constexpr double lengthFar = -2;    // outweighs a loose title match, not a close one
constexpr qint64 nearMs = 3000;
constexpr qint64 fadeMs = 10000;
constexpr qint64 farMs = 20000;
constexpr double farShare = 0.15;

// Every track takes the miss, the named ones the hit instead: linear in the tracks and the
// named, however many tracks a number names.
void addNumberClue(QList<double> &scores, const QList<int> &named, double hit, double miss)
{
    if (named.isEmpty())
        return;
    for (double &score : scores)
        score += miss;
    for (const int track : named)
        scores[track] += hit - miss;
}

quint64 discAndNumber(int disc, int number)
{
    return (quint64(quint32(disc)) << 32) | quint32(number);
}

} // namespace

PairScore::PairScore(const TrackList &tracks, const ResultEntry &album)
    : m_albumName(TitleSimilarity::normalised(album.albumName().value_or(QString())))
    , m_severalDiscs(album.numberOfDiscs() > 1)
{
    m_tracks.reserve(tracks.size());
    for (qsizetype row = 0; row < tracks.size(); ++row) {
        const Track &track = *tracks.at(row);
        m_tracks.append({track.discNumber().value_or(1), track.numberOnDisc().value_or(int(row) + 1),
                         TitleSimilarity(track.title().value_or(QString())), track.lengthMs()});
        m_severalDiscs = m_severalDiscs || m_tracks.last().disc > 1;
        m_byDiscAndNumber[discAndNumber(m_tracks.last().disc, m_tracks.last().number)].append(int(row));
        m_byNumber[m_tracks.last().number].append(int(row));
    }
}

QList<int> PairScore::tracksNumbered(int disc, int number, bool running) const
{
    if (!running) {
        const QList<int> named = disc == 0 ? m_byNumber.value(number) : m_byDiscAndNumber.value(discAndNumber(disc, number));
        if (!named.isEmpty())
            return named;
    }
    // A number no track has on that disc may count across all discs, as older tags and
    // names of multi-disc albums do.
    if (number >= 1 && number <= m_tracks.size())
        return {number - 1};
    return {};
}

double PairScore::lengthScore(const FileClues &file, const TrackFacts &track) const
{
    if (!file.lengthMs || !track.lengthMs || *track.lengthMs <= 0)
        return 0;
    const qint64 off = std::llabs(*file.lengthMs - *track.lengthMs);
    if (off <= nearMs)
        return lengthNear;
    if (off <= fadeMs)
        return lengthNear * double(fadeMs - off) / double(fadeMs - nearMs);
    return double(off) > std::max(double(farMs), farShare * double(*track.lengthMs)) ? lengthFar : 0;
}

QList<double> PairScore::scores(const FileClues &file) const
{
    QList<double> scores(m_tracks.size(), 0.0);
    const bool tagsOfThisAlbum = file.number > 0 && !m_albumName.isEmpty() && file.album
                                 && TitleSimilarity::normalised(*file.album) == m_albumName;
    if (tagsOfThisAlbum) {
        // Tags whose track total is the whole album's count number across the discs.
        const bool running = m_severalDiscs && file.trackTotal == m_tracks.size();
        addNumberClue(scores, tracksNumbered(file.disc, file.number, running), tagHit, tagMiss);
    }
    const NameNumber name = NameNumber::fromPath(file.path);
    if (name.number)
        addNumberClue(scores, tracksNumbered(name.disc.value_or(0), *name.number, false), nameHit, nameMiss);

    const TitleSimilarity nameTitle(name.title);
    const TitleSimilarity tagTitle(file.title.value_or(QString()));
    for (qsizetype i = 0; i < m_tracks.size(); ++i) {
        const TrackFacts &track = m_tracks[i];
        const double similarity = std::max(track.title.with(nameTitle), track.title.with(tagTitle));
        scores[i] += titleWeight * std::clamp((similarity - titleFloor) / (1 - titleFloor), 0.0, 1.0);
        scores[i] += lengthScore(file, track);
    }
    // "Title (3)" counts only for a file that nothing else ties to any track.
    const bool otherwiseUnmatched = std::all_of(scores.cbegin(), scores.cend(), [](double s) { return s <= noMatch; });
    if (name.bracketed && !tagsOfThisAlbum && !name.number && otherwiseUnmatched)
        addNumberClue(scores, tracksNumbered(name.disc.value_or(0), *name.bracketed, false), bracketedHit, 0);
    return scores;
}
