#include "cli/AlbumJson.h"

#include <QJsonArray>
#include <cmath>
#include <limits>

namespace {

// The album's text fields in JSON order, each with its accessors, for writing and reading.
struct TextField {
    const char *key;
    const std::optional<QString> &(ResultEntry::*get)() const;
    void (ResultEntry::*set)(std::optional<QString>);
};
const TextField textFields[] = {
    {"artistName", &ResultEntry::artistName, &ResultEntry::setArtistName},
    {"albumName", &ResultEntry::albumName, &ResultEntry::setAlbumName},
    {"asinNumber", &ResultEntry::asinNumber, &ResultEntry::setAsinNumber},
    {"yearOfPublication", &ResultEntry::yearOfPublication, &ResultEntry::setYearOfPublication},
    {"genre", &ResultEntry::genre, &ResultEntry::setGenre},
    {"label", &ResultEntry::label, &ResultEntry::setLabel},
};

QJsonValue textValue(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

// Reads one optional text; false (with the reason) when the value is neither text nor null.
bool readText(const QJsonObject &object, const QString &key, std::optional<QString> *text, QString *error)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull()) {
        text->reset();
        return true;
    }
    if (!value.isString()) {
        *error = QStringLiteral("\"%1\" must be a text or null").arg(key);
        return false;
    }
    *text = value.toString();
    return true;
}

bool readCount(const QJsonObject &object, const QString &key, qint32 *count, QString *error)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull()) {
        *count = 0;
        return true;
    }
    const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!value.isDouble() || std::trunc(number) != number || number < std::numeric_limits<qint32>::min()
        || number > std::numeric_limits<qint32>::max()) {
        *error = QStringLiteral("\"%1\" must be a whole number").arg(key);
        return false;
    }
    *count = static_cast<qint32>(number);
    return true;
}

bool readTrackList(const QJsonObject &object, TrackListPtr *tracks, QString *error)
{
    const QJsonValue value = object.value(QStringLiteral("trackList"));
    if (value.isUndefined() || value.isNull()) {
        tracks->reset();
        return true;
    }
    if (!value.isArray()) {
        *error = QStringLiteral("\"trackList\" must be an array or null");
        return false;
    }
    auto list = std::make_shared<TrackList>();
    const QJsonArray entries = value.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!entries[i].isObject()) {
            *error = QStringLiteral("track %1 of \"trackList\" must be an object").arg(i + 1);
            return false;
        }
        const QJsonObject entry = entries[i].toObject();
        std::optional<QString> title;
        std::optional<QString> artist;
        QString reason;
        if (!readText(entry, QStringLiteral("title"), &title, &reason)
            || !readText(entry, QStringLiteral("artist"), &artist, &reason)) {
            *error = QStringLiteral("track %1 of \"trackList\": %2").arg(i + 1).arg(reason);
            return false;
        }
        // Disc, number on the disc and length in milliseconds, when the catalogue gave them.
        qint32 disc = 0;
        qint32 number = 0;
        qint32 length = 0;
        if (!readCount(entry, QStringLiteral("discNumber"), &disc, &reason)
            || !readCount(entry, QStringLiteral("trackNumber"), &number, &reason)
            || !readCount(entry, QStringLiteral("length"), &length, &reason)) {
            *error = QStringLiteral("track %1 of \"trackList\": %2").arg(i + 1).arg(reason);
            return false;
        }
        auto track = std::make_shared<Track>();
        track->setTitle(title);
        track->setArtist(artist);
        track->setDiscNumber(disc > 0 ? std::optional<int>(disc) : std::nullopt);
        track->setNumberOnDisc(number > 0 ? std::optional<int>(number) : std::nullopt);
        track->setLengthMs(length > 0 ? std::optional<qint64>(length) : std::nullopt);
        list->append(track);
    }
    *tracks = list;
    return true;
}

} // namespace

QJsonObject albumToJson(const ResultEntry &album)
{
    QJsonObject object;
    for (const TextField &field : textFields)
        object.insert(QLatin1String(field.key), textValue((album.*field.get)()));
    object.insert(QStringLiteral("numberOfDiscs"), album.numberOfDiscs());
    object.insert(QStringLiteral("numberOfTracks"), album.numberOfTracks());
    if (album.cover())
        object.insert(QStringLiteral("cover"), QJsonObject{{QStringLiteral("width"), album.cover()->width()},
                                                           {QStringLiteral("height"), album.cover()->height()}});
    else
        object.insert(QStringLiteral("cover"), QJsonValue::Null);
    if (album.trackList()) {
        QJsonArray tracks;
        for (const std::shared_ptr<Track> &track : *album.trackList())
            tracks.append(QJsonObject{{QStringLiteral("title"), textValue(track->title())},
                                      {QStringLiteral("artist"), textValue(track->artist())}});
        object.insert(QStringLiteral("trackList"), tracks);
    } else {
        object.insert(QStringLiteral("trackList"), QJsonValue::Null);
    }
    return object;
}

std::optional<ResultEntry> albumFromJson(const QJsonObject &object, QString *error)
{
    ResultEntry album;
    QString reason;
    const auto fail = [&]() -> std::optional<ResultEntry> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    for (const TextField &field : textFields) {
        std::optional<QString> text;
        if (!readText(object, QLatin1String(field.key), &text, &reason))
            return fail();
        (album.*field.set)(text);
    }
    qint32 discs = 0;
    qint32 tracks = 0;
    TrackListPtr trackList;
    if (!readCount(object, QStringLiteral("numberOfDiscs"), &discs, &reason)
        || !readCount(object, QStringLiteral("numberOfTracks"), &tracks, &reason)
        || !readTrackList(object, &trackList, &reason))
        return fail();
    album.setNumberOfDiscs(discs);
    album.setNumberOfTracks(tracks);
    album.setTrackList(trackList);
    return album;
}
