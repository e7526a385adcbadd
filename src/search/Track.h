#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// One track of an album: its title and performer. Track objects are shared between the
// album's track list and the window's track table, so an edit in one is seen by the other.
class Track {
public:
    const std::optional<QString> &title() const { return m_title; }
    void setTitle(std::optional<QString> title) { m_title = std::move(title); }

    const std::optional<QString> &artist() const { return m_artist; }
    void setArtist(std::optional<QString> artist) { m_artist = std::move(artist); }

private:
    std::optional<QString> m_title;
    std::optional<QString> m_artist;
};

// An album's tracks in play order, all discs in one run. Held by shared pointer: every
// holder of the list sees every change made through any other holder.
using TrackList = QList<std::shared_ptr<Track>>;
using TrackListPtr = std::shared_ptr<TrackList>;
