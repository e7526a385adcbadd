#include "files/DiscPosition.h"

#include <QHash>

QList<std::optional<DiscPosition>> DiscPosition::ofTracks(const TrackList &list, qint32 albumDiscs)
{
    const auto discOf = [](const std::shared_ptr<Track> &track) {
        return track && track->discNumber().value_or(0) > 0 ? *track->discNumber() : 0;
    };
    QHash<qint32, qint32> tracksOnDisc;
    qint32 discs = albumDiscs;
    for (const std::shared_ptr<Track> &track : list) {
        if (const qint32 disc = discOf(track); disc > 0) {
            ++tracksOnDisc[disc];
            discs = qMax(discs, disc);
        }
    }

    QList<std::optional<DiscPosition>> positions;
    positions.reserve(list.size());
    QHash<qint32, qint32> seenOnDisc;
    for (const std::shared_ptr<Track> &track : list) {
        const qint32 disc = discOf(track);
        if (disc == 0) {
            positions.append(std::nullopt);
            continue;
        }
        const qint32 place = ++seenOnDisc[disc];
        const qint32 number = track->numberOnDisc().value_or(0) > 0 ? *track->numberOnDisc() : place;
        positions.append(DiscPosition{disc, discs, number, tracksOnDisc.value(disc)});
    }
    return positions;
}
