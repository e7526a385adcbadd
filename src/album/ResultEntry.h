#pragma once

#include "album/Track.h"

#include <QImage>
#include <QString>
#include <optional>

// One album: found by the search, typed in by hand or taken from file tags. Text fields
// may be absent, which is not the same as the empty text; the track list is shared.
class ResultEntry {
public:
    const std::optional<QString> &artistName() const { return m_artistName; }
    void setArtistName(std::optional<QString> name) { m_artistName = std::move(name); }

    const std::optional<QString> &albumName() const { return m_albumName; }
    void setAlbumName(std::optional<QString> name) { m_albumName = std::move(name); }

    const std::optional<QString> &asinNumber() const { return m_asinNumber; }
    void setAsinNumber(std::optional<QString> asin) { m_asinNumber = std::move(asin); }

    const std::optional<QString> &yearOfPublication() const { return m_yearOfPublication; }
    void setYearOfPublication(std::optional<QString> year) { m_yearOfPublication = std::move(year); }

    const std::optional<QString> &genre() const { return m_genre; }
    void setGenre(std::optional<QString> genre) { m_genre = std::move(genre); }

    const std::optional<QString> &label() const { return m_label; }
    void setLabel(std::optional<QString> label) { m_label = std::move(label); }

    qint32 numberOfDiscs() const { return m_numberOfDiscs; }
    void setNumberOfDiscs(qint32 discs) { m_numberOfDiscs = discs; }

    qint32 numberOfTracks() const { return m_numberOfTracks; }
    void setNumberOfTracks(qint32 tracks) { m_numberOfTracks = tracks; }

    // The very list given is stored, not a copy: later changes by any holder show here.
    const TrackListPtr &trackList() const { return m_trackList; }
    void setTrackList(TrackListPtr list) { m_trackList = std::move(list); }

    const std::optional<QImage> &cover() const { return m_cover; }
    void setCover(std::optional<QImage> cover) { m_cover = std::move(cover); }

    // Where a picture of the cover can be fetched, when the catalogue names one.
    const std::optional<QString> &coverUrl() const { return m_coverUrl; }
    void setCoverUrl(std::optional<QString> url) { m_coverUrl = std::move(url); }

    // MusicBrainz identifiers: the release (the album's id), its release group and the first
    // artist of its credit. Only albums from MusicBrainz carry them.
    const std::optional<QString> &id() const { return m_id; }
    void setId(std::optional<QString> id) { m_id = std::move(id); }
    const std::optional<QString> &releaseGroupId() const { return m_releaseGroupId; }
    void setReleaseGroupId(std::optional<QString> id) { m_releaseGroupId = std::move(id); }
    const std::optional<QString> &albumArtistId() const { return m_albumArtistId; }
    void setAlbumArtistId(std::optional<QString> id) { m_albumArtistId = std::move(id); }

    // What tells one edition of an album from another, as MusicBrainz lists it: the country
    // of release ("GB"), the release date ("1977-02-04", or just a year), the media ("2×CD",
    // "CD + DVD"), the barcode, the label's catalogue number and the kind of release
    // ("Album", "Single", "EP", "Compilation", "Live", ...).
    const std::optional<QString> &country() const { return m_country; }
    void setCountry(std::optional<QString> country) { m_country = std::move(country); }
    const std::optional<QString> &releaseDate() const { return m_releaseDate; }
    void setReleaseDate(std::optional<QString> date) { m_releaseDate = std::move(date); }
    const std::optional<QString> &format() const { return m_format; }
    void setFormat(std::optional<QString> format) { m_format = std::move(format); }
    const std::optional<QString> &barcode() const { return m_barcode; }
    void setBarcode(std::optional<QString> barcode) { m_barcode = std::move(barcode); }
    const std::optional<QString> &catalogNumber() const { return m_catalogNumber; }
    void setCatalogNumber(std::optional<QString> number) { m_catalogNumber = std::move(number); }
    const std::optional<QString> &releaseType() const { return m_releaseType; }
    void setReleaseType(std::optional<QString> type) { m_releaseType = std::move(type); }

    // Sets one of the album table's editable fields by its key ("artistName", "albumName",
    // "numberOfTracks", "yearOfPublication", "label", "genre", "numberOfDiscs"); integer
    // fields take the integer value of the text. Returns false for any other key, which
    // changes nothing.
    bool setValue(const QString &value, const QString &key);

private:
    std::optional<QString> m_artistName;
    std::optional<QString> m_albumName;
    std::optional<QString> m_asinNumber;
    std::optional<QString> m_yearOfPublication;
    std::optional<QString> m_genre;
    std::optional<QString> m_label;
    qint32 m_numberOfDiscs = 0;
    qint32 m_numberOfTracks = 0;
    TrackListPtr m_trackList;
    std::optional<QImage> m_cover;
    std::optional<QString> m_coverUrl;
    std::optional<QString> m_id;
    std::optional<QString> m_releaseGroupId;
    std::optional<QString> m_albumArtistId;
    std::optional<QString> m_country;
    std::optional<QString> m_releaseDate;
    std::optional<QString> m_format;
    std::optional<QString> m_barcode;
    std::optional<QString> m_catalogNumber;
    std::optional<QString> m_releaseType;
};

using ResultList = QList<std::shared_ptr<ResultEntry>>;
using ResultListPtr = std::shared_ptr<ResultList>;
