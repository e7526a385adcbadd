#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// One track of an album: its title and performer, and what a catalogue knows beyond them.
// Track objects are shared between the album's track list and the window's track table, so an
// edit in one is seen by the other.
class Track {
public:
    const std::optional<QString> &title() const { return m_title; }
    void setTitle(std::optional<QString> title) { m_title = std::move(title); }

    const std::optional<QString> &artist() const { return m_artist; }
    void setArtist(std::optional<QString> artist) { m_artist = std::move(artist); }

    // The disc it is on (1 for the first) and its number on that disc, when a catalogue says.
    std::optional<int> discNumber() const { return m_discNumber; }
    void setDiscNumber(std::optional<int> disc) { m_discNumber = disc; }
    std::optional<int> numberOnDisc() const { return m_numberOnDisc; }
    void setNumberOnDisc(std::optional<int> number) { m_numberOnDisc = number; }

    // Its length in milliseconds, when known.
    std::optional<qint64> lengthMs() const { return m_lengthMs; }
    void setLengthMs(std::optional<qint64> length) { m_lengthMs = length; }

    // MusicBrainz identifiers: of this track on its release, of the recording it plays and
    // of the first artist credited for it.
    const std::optional<QString> &trackId() const { return m_trackId; }
    void setTrackId(std::optional<QString> id) { m_trackId = std::move(id); }
    const std::optional<QString> &recordingId() const { return m_recordingId; }
    void setRecordingId(std::optional<QString> id) { m_recordingId = std::move(id); }
    const std::optional<QString> &artistId() const { return m_artistId; }
    void setArtistId(std::optional<QString> id) { m_artistId = std::move(id); }

private:
    std::optional<QString> m_title;
    std::optional<QString> m_artist;
    std::optional<int> m_discNumber;
    std::optional<int> m_numberOnDisc;
    std::optional<qint64> m_lengthMs;
    std::optional<QString> m_trackId;
    std::optional<QString> m_recordingId;
    std::optional<QString> m_artistId;
};

// An album's tracks in play order, all discs in one run. Held by shared pointer: every
// holder of the list sees every change made through any other holder.
using TrackList = QList<std::shared_ptr<Track>>;
using TrackListPtr = std::shared_ptr<TrackList>;

// The most tracks an album takes from any catalogue answer or album file: more than any real
// release has, few enough that lining files up with them stays quick.
constexpr qsizetype maxTracksPerAlbum = 1000;
