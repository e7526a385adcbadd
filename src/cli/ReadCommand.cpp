// tagwright-cli read: prints the song metadata of audio files as JSON.
#include "cli/CliCommand.h"
#include "cli/AudioFileCheck.h"
#include "files/FileHandler.h"
#include "files/MetadataKeys.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

QJsonValue metadataToJson(const QVariantMap &metadata)
{
    QJsonObject object;
    for (auto it = metadata.begin(); it != metadata.end(); ++it) {
        if (it.key() == MetadataKeys::cover) {
            const QImage cover = it.value().value<QImage>();
            object.insert(it.key(), QJsonObject{{"width", cover.width()}, {"height", cover.height()}});
        } else {
            object.insert(it.key(), it.value().toString());
        }
    }
    return object;
}

int runRead(const QCommandLineParser &parsed)
{
    QTextStream err(stderr);
    const QStringList files = parsed.positionalArguments();
    FileHandler handler;
    QJsonArray result;
    bool allRead = true;
    for (const QString &file : files) {
        // A file that cannot be read gives null in its place, so the array still lines up
        // with the arguments.
        if (const std::optional<QString> problem = AudioFileCheck::problemWith(file)) {
            err << "tagwright-cli read: " << file << ": " << *problem << "\n";
            result.append(QJsonValue::Null);
            allRead = false;
            continue;
        }
        result.append(metadataToJson(MetadataKeys::toMap(handler.readTags(file))));
    }
    err.flush();
    QTextStream(stdout) << QJsonDocument(result).toJson(QJsonDocument::Indented);
    return allRead ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("read"),
    QStringLiteral("Prints the tags of each audio file as a JSON array of song metadata objects, in the\n"
                   "order given: {} for an untagged file, null for one that cannot be read, and\n"
                   "\"Cover\" as {\"width\": W, \"height\": H}. Catalogue identifiers (\"MusicBrainzAlbumId\",\n"
                   "\"MusicBrainzReleaseGroupId\", \"MusicBrainzAlbumArtistId\", \"MusicBrainzArtistId\",\n"
                   "\"MusicBrainzReleaseTrackId\", \"MusicBrainzRecordingId\", \"ASIN\") appear when the file\n"
                   "holds them."),
    {},
    QStringLiteral("FILE..."),
    QStringLiteral("no audio files given"),
    runRead,
});

} // namespace
