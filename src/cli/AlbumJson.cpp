#include "cli/AlbumJson.h"

#include "search/RecordTextFields.h"

#include <QJsonArray>
#include <cmath>
#include <limits>
#include <span>

namespace {

// And its numbers, with the range each may take: discs count from 1 to 999 (as a disc tag
// and a renamed folder can take them), numbers on a disc from 1; the length in milliseconds
// is 0 or more (within what a double holds exactly).
struct TrackNumberField {
    const char *key;
    std::optional<qint64> (*get)(const Track &);
    void (*set)(Track &, std::optional<qint64>);
    double minimum;
    double maximum;
};
constexpr double maxDisc = 999;
constexpr double maxTrack = std::numeric_limits<int>::max();
constexpr double maxLength = 9e15;
const TrackNumberField trackNumberFields[] = {
    {"discNumber", [](const Track &t) { return t.discNumber() ? std::optional<qint64>(*t.discNumber()) : std::nullopt; },
     [](Track &t, std::optional<qint64> n) { t.setDiscNumber(n ? std::optional<int>(int(*n)) : std::nullopt); },
     1, maxDisc},
    {"trackNumber", [](const Track &t) { return t.numberOnDisc() ? std::optional<qint64>(*t.numberOnDisc()) : std::nullopt; },
     [](Track &t, std::optional<qint64> n) { t.setNumberOnDisc(n ? std::optional<int>(int(*n)) : std::nullopt); },
     1, maxTrack},
    {"length", [](const Track &t) { return t.lengthMs(); }, [](Track &t, std::optional<qint64> n) { t.setLengthMs(n); },
     0, maxLength},
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

// A whole number within [minimum, maximum], or null; false (with the reason) for anything else.
bool readWholeNumber(const QJsonValue &value, const QString &key, double minimum, double maximum,
                     std::optional<qint64> *number, QString *error)
{
    if (value.isUndefined() || value.isNull()) {
        number->reset();
        return true;
    }
    const double read = value.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!value.isDouble() || std::trunc(read) != read || read < minimum || read > maximum) {
        *error = QStringLiteral("\"%1\" must be a whole number from %2 to %3")
                     .arg(key, QString::number(qint64(minimum)), QString::number(qint64(maximum)));
        return false;
    }
    *number = static_cast<qint64>(read);
    return true;
}

bool readCount(const QJsonObject &object, const QString &key, qint32 *count, QString *error)
{
    std::optional<qint64> number;
    if (!readWholeNumber(object.value(key), key, std::numeric_limits<qint32>::min(),
                         std::numeric_limits<qint32>::max(), &number, error))
        return false;
    *count = qint32(number.value_or(0));
    return true;
}

// One track of "trackList"; false (with the reason) when a field has the wrong type.
bool readTrack(const QJsonObject &entry, Track *track, QString *error)
{
    for (const TextField<Track> &field : trackTextFields) {
        std::optional<QString> text;
        if (!readText(entry, QLatin1String(field.key), &text, error))
            return false;
        (track->*field.set)(text);
    }
    for (const TrackNumberField &field : trackNumberFields) {
        std::optional<qint64> number;
        if (!readWholeNumber(entry.value(QLatin1String(field.key)), QLatin1String(field.key), field.minimum,
                             field.maximum, &number, error))
            return false;
        field.set(*track, number);
    }
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
    const QJsonArray entries = value.toArray();
    if (entries.size() > maxTracksPerAlbum) {
        *error = QStringLiteral("\"trackList\" holds %1 tracks; an album has at most %2").arg(entries.size()).arg(maxTracksPerAlbum);
        return false;
    }
    auto list = std::make_shared<TrackList>();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!entries[i].isObject()) {
            *error = QStringLiteral("track %1 of \"trackList\" must be an object").arg(i + 1);
            return false;
        }
        auto track = std::make_shared<Track>();
        QString reason;
        if (!readTrack(entries[i].toObject(), track.get(), &reason)) {
            *error = QStringLiteral("track %1 of \"trackList\": %2").arg(i + 1).arg(reason);
            return false;
        }
        list->append(track);
    }
    *tracks = list;
    return true;
}

QJsonObject trackToJson(const Track &track)
{
    QJsonObject object;
    for (const TextField<Track> &field : trackTextFields)
        object.insert(QLatin1String(field.key), textValue((track.*field.get)()));
    for (const TrackNumberField &field : trackNumberFields) {
        const std::optional<qint64> number = field.get(track);
        object.insert(QLatin1String(field.key), number ? QJsonValue(*number) : QJsonValue(QJsonValue::Null));
    }
    return object;
}

} // namespace

QJsonObject albumToJson(const ResultEntry &album)
{
    QJsonObject object;
    for (const TextField<ResultEntry> &field : albumTextFields)
        object.insert(QLatin1String(field.key), textValue((album.*field.get)()));
    for (const TextField<ResultEntry> &field : albumEditionFields) {
        if (const std::optional<QString> &text = (album.*field.get)())
            object.insert(QLatin1String(field.key), *text);
    }
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
            tracks.append(trackToJson(*track));
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
    using Fields = std::span<const TextField<ResultEntry>>;
    for (const Fields fields : {Fields(albumTextFields), Fields(albumEditionFields)}) {
        for (const TextField<ResultEntry> &field : fields) {
            std::optional<QString> text;
            if (!readText(object, QLatin1String(field.key), &text, &reason))
                return fail();
            (album.*field.set)(text);
        }
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
