#include "identify/CandidateScore.h"

#include "album/IntValue.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Weights of what counts, as shares of a whole score; a clue that is missing on either side
// leaves its share to the rest.
constexpr double pairingWeight = 0.7;
constexpr double albumWeight = 0.15;
constexpr double artistWeight = 0.1;
constexpr double yearWeight = 0.05;
// Within a pair: lengths or titles tell one release from another; numbers agree with any
// release of as many tracks, so they count little.
constexpr double numberShare = 0.15;
constexpr double bestShare = 0.75;  // of the better of length and title, where both tell
constexpr double unknownPair = 0.5; // a pair that nothing tells for or against
constexpr qint64 sameLengthMs = 3000;
constexpr qint64 otherLengthMs = 15000;

std::optional<TitleSimilarity> similarityOf(const std::optional<QString> &text)
{
    if (!text || text->trimmed().isEmpty())
        return std::nullopt;
    return TitleSimilarity(*text);
}

double lengthFit(qint64 fileMs, qint64 trackMs)
{
    const qint64 off = std::llabs(fileMs - trackMs);
    if (off <= sameLengthMs)
        return 1;
    if (off >= otherLengthMs)
        return 0;
    return double(otherLengthMs - off) / double(otherLengthMs - sameLengthMs);
}

} // namespace

CandidateScore::CandidateScore(const QList<AlbumFileFacts> &files, const AlbumClues &clues)
    : m_clues(clues), m_album(similarityOf(clues.album)), m_artist(similarityOf(clues.artist))
{
    m_files.reserve(files.size());
    m_evidence.reserve(files.size());
    for (const AlbumFileFacts &file : files) {
        m_files.append(file.clues);
        NameNumber name = NameNumber::fromPath(file.clues.path);
        const TitleSimilarity nameTitle(name.title);
        m_evidence.append({std::move(name), nameTitle, TitleSimilarity(file.clues.title.value_or(QString()))});
    }
}

double CandidateScore::pairFit(int file, const Track &track, int row) const
{
    const FileClues &clues = m_files[file];
    const FileEvidence &evidence = m_evidence[file];
    std::optional<double> length;
    if (clues.lengthMs && track.lengthMs() && *track.lengthMs() > 0)
        length = lengthFit(*clues.lengthMs, *track.lengthMs());
    std::optional<double> titled;
    const TitleSimilarity title(track.title().value_or(QString()));
    if (!title.isEmpty() && (!evidence.tagTitle.isEmpty() || !evidence.nameTitle.isEmpty()))
        titled = std::max(title.with(evidence.tagTitle), title.with(evidence.nameTitle));
    // Either one agreeing makes a pair; the other disagreeing (another edition's lengths,
    // another album's titles) still costs something.
    std::optional<double> fit = length ? length : titled;
    if (length && titled)
        fit = bestShare * std::max(*length, *titled) + (1 - bestShare) * std::min(*length, *titled);

    const int number = clues.number > 0 ? clues.number : evidence.name.number.value_or(0);
    if (number <= 0)
        return fit.value_or(unknownPair);
    const int disc = clues.number > 0 ? clues.disc : evidence.name.disc.value_or(0);
    const bool numberAgrees = number == row + 1
                              || (number == track.numberOnDisc().value_or(row + 1)
                                  && (disc == 0 || disc == track.discNumber().value_or(1)));
    const double numberFit = numberAgrees ? 1 : 0;
    if (!fit)
        return unknownPair * numberFit;
    return (1 - numberShare) * *fit + numberShare * numberFit;
}

double CandidateScore::pairingFit(const Lineup &lineup, const TrackList &tracks) const
{
    const qsizetype all = std::max(m_files.size(), tracks.size());
    if (all == 0)
        return 0;
    double sum = 0;
    for (qsizetype row = 0; row < tracks.size(); ++row) {
        if (const int file = lineup.fileOfTrack.value(row, -1); file >= 0)
            sum += pairFit(file, *tracks.at(row), int(row));
    }
    return sum / double(all);
}

CandidateScore::Fit CandidateScore::of(const ResultEntry &release) const
{
    Fit fit;
    const TrackList tracks = release.trackList() ? *release.trackList() : TrackList();
    fit.lineup = Lineup::match(m_files, tracks, release);
    double weighed = pairingWeight * pairingFit(fit.lineup, tracks);
    double weights = pairingWeight;
    const auto weigh = [&](double weight, std::optional<double> share) {
        if (share) {
            weighed += weight * *share;
            weights += weight;
        }
    };
    const auto alike = [](const std::optional<TitleSimilarity> &clue, const std::optional<QString> &text) {
        const std::optional<TitleSimilarity> other = similarityOf(text);
        return clue && other ? std::optional<double>(clue->with(*other)) : std::nullopt;
    };
    weigh(albumWeight, alike(m_album, release.albumName()));
    weigh(artistWeight, alike(m_artist, release.artistName()));
    const int year = intValue(release.yearOfPublication().value_or(QString()).left(4));
    if (m_clues.year > 0 && year > 0)
        weigh(yearWeight, year == m_clues.year ? 1.0 : std::abs(year - m_clues.year) == 1 ? 0.5 : 0.0);
    fit.score = std::clamp(weighed / weights, 0.0, 1.0);
    return fit;
}
