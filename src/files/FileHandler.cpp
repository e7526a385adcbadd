#include "files/FileHandler.h"

#include "common/JobControl.h"
#include "common/StatusNotification.h"
#include "files/DurableWriteBatch.h"
#include "files/DiscPosition.h"
#include "files/FileRenamer.h"
#include "files/IdentifierTags.h"
#include "files/ImageEncoding.h"
#include "files/SongMetadata.h"
#include "files/SongMetadataReader.h"
#include "files/TagAPI.h"
#include "album/IntValue.h"

#include <QFileInfo>
#include <QImage>

namespace {

// Files whose new contents are written before one round of flushes makes them all
// durable; bounds the open files and the extra disk space held at any time.
constexpr qsizetype filesPerFlush = 64;

const QString taggingFailure = QStringLiteral("Could not tag %1: %2.");
const QString removalFailure = QStringLiteral("Could not remove the tags of %1: %2.");

// What a failure left of the file, in the words a user needs to decide what to do next.
QString aftermath(DurableWriteBatch::Left left = DurableWriteBatch::Left::AsItWas)
{
    switch (left) {
    case DurableWriteBatch::Left::PiecesUncertain:
        return QStringLiteral("Its audio is untouched, but its tags may be incomplete.");
    case DurableWriteBatch::Left::NewNotDurable:
        return QStringLiteral("The change is made, but a system crash may yet undo it.");
    case DurableWriteBatch::Left::AsItWas:
        break;
    }
    return QStringLiteral("The file was left as it was.");
}

} // namespace

QVariantMap FileHandler::readMetaDataFromMp3File(const QString &path, CoverReading cover)
{
    QVariantMap metadata;
    const SongMetadataReader reader(path);
    if (!reader.hasTags())
        return metadata;
    for (const QString &key : SongMetadataReader::textKeys)
        metadata.insert(key, reader.value(key));
    for (const QString &key : IdentifierTags::keys()) {
        if (QString identifier = reader.value(key); !identifier.isEmpty())
            metadata.insert(key, std::move(identifier));
    }

    const QList<QVariantMap> pictures = cover == CoverReading::Decode ? reader.pictures() : QList<QVariantMap>();
    if (!pictures.isEmpty()) {
        // The cover reads as the first picture after a trip through JPEG; a picture that
        // does not survive the trip gives no cover.
        const QImage image = QImage::fromData(encodedImage(pictures.first().value(QVPictureImageKey).value<QImage>(), "JPEG"));
        if (!image.isNull())
            metadata.insert(QVCoverTag, image);
    }
    return metadata;
}

FileOutcome FileHandler::writeMetaData(const QVariantMap &metadata, const QString &path)
{
    FileOutcome outcome;
    DurableWriteBatch batch;
    stageMetaData(metadata, path, batch, outcome);
    commitBatch(batch, taggingFailure, {{QFileInfo(path).canonicalFilePath(), path}}, outcome);
    outcome.filesHandled = 1;
    return outcome;
}

void FileHandler::stageMetaData(const QVariantMap &metadata, const QString &path, DurableWriteBatch &batch,
                                FileOutcome &outcome)
{
    TagAPI tag;
    tag.examineFile(path);
    const QString albumArtist = metadata.value(QVArtistAlbumTag).toString();
    tag.setArtist(metadata.contains(QVArtistTrackTag) ? metadata.value(QVArtistTrackTag).toString() : albumArtist);
    tag.setTitle(metadata.value(QVTitleTag).toString());
    tag.setAlbum(metadata.value(QVAlbumTag).toString());
    tag.setGenreName(metadata.value(QVGenreTag).toStringList());
    tag.setYear(intValue(metadata.value(QVYearTag).toString()));
    tag.setTrack(intValue(metadata.value(QVTrackNoTag).toString()), intValue(metadata.value(QVTrackCountTag).toString()));
    const qint32 discs = intValue(metadata.value(QVDiscsTag).toString());
    tag.setDisk(metadata.contains(QVDiscNoTag) ? intValue(metadata.value(QVDiscNoTag).toString()) : discs, discs);
    if (metadata.contains(QVCoverTag))
        tag.setImages(metadata.value(QVCoverTag).toList());
    tag.setComments(QStringLiteral(""));
    tag.setFrame(id3V2Frame(QStringLiteral("TPE2"), albumArtist), true);
    IdentifierTags::write(tag, metadata);

    QString reason;
    if (!tag.updateFile(batch, &reason))
        reportFailure(outcome, taggingFailure, path, reason, aftermath());
}

void FileHandler::commitBatch(DurableWriteBatch &batch, const QString &failureFormat,
                              const QHash<QString, QString> &givenPaths, FileOutcome &outcome)
{
    for (const DurableWriteBatch::Failure &failure : batch.commit()) {
        reportFailure(outcome, failureFormat, givenPaths.value(failure.path, failure.path), failure.reason,
                      aftermath(failure.left));
    }
}

void FileHandler::reportFailure(FileOutcome &outcome, const QString &failureFormat, const QString &path,
                                const QString &reason, const QString &aftermath)
{
    sendStatusChange(failureFormat.arg(path, reason) + u' ' + aftermath);
    outcome.failures.append({path, reason + QStringLiteral(". ") + aftermath});
}

FileOutcome FileHandler::deleteTagsInMp3Files(const QStringList &files, JobControl *control)
{
    FileOutcome outcome;
    sendStatusChange(QStringLiteral("Start removing existing tags."));
    TagAPI tag;
    DurableWriteBatch batch;
    QHash<QString, QString> givenPaths;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        QString reason;
        tag.examineFile(files.at(i));
        givenPaths.insert(QFileInfo(files.at(i)).canonicalFilePath(), files.at(i));
        if (!tag.dropTag(batch, &reason))
            reportFailure(outcome, removalFailure, files.at(i), reason, aftermath());
        outcome.filesHandled = i + 1;
        sendStatusChange(QStringLiteral("Removing existing tags. %1 files processed.").arg(i + 1));
        reportProgress(control, i + 1, files.size());
        if (batch.stagedCount() >= filesPerFlush)
            commitBatch(batch, removalFailure, givenPaths, outcome);
    }
    commitBatch(batch, removalFailure, givenPaths, outcome);
    outcome.cancelled = outcome.filesHandled < files.size();
    sendStatusChange(QStringLiteral("Finished removing existing tags."));
    return outcome;
}

FileOutcome FileHandler::tagFiles(const QStringList &files, const TrackListPtr &tracks, const ResultEntry &result,
                                   JobControl *control)
{
    FileOutcome outcome;
    QVariantMap metadata;
    metadata.insert(QVAlbumTag, result.albumName().value_or(QStringLiteral("")));
    metadata.insert(QVArtistAlbumTag, result.artistName().value_or(QStringLiteral("")));
    metadata.insert(QVGenreTag, QStringList{result.genre().value_or(QStringLiteral(""))});
    metadata.insert(QVYearTag, result.yearOfPublication().value_or(QStringLiteral("")));
    metadata.insert(QVLabelTag, result.label().value_or(QStringLiteral("")));
    const QString trackCount = QString::number(tracks ? tracks->size() : files.size());
    for (const auto &[key, value] : {std::pair{QVMusicBrainzAlbumIdTag, result.id()},
                                     {QVMusicBrainzReleaseGroupIdTag, result.releaseGroupId()},
                                     {QVMusicBrainzAlbumArtistIdTag, result.albumArtistId()},
                                     {QVAsinTag, result.asinNumber()}}) {
        if (value)
            metadata.insert(key, *value);
    }
    if (result.cover()) {
        // Encoded once for the whole batch; the bytes travel with the picture so that no
        // file encodes it again. A cover that cannot be encoded leaves the pictures alone.
        const QByteArray jpeg = encodedImage(*result.cover(), "JPEG");
        if (!jpeg.isEmpty()) {
            metadata.insert(QVCoverTag, QVariantList{QVariantMap{
                {QVPictureImageKey, *result.cover()},
                {QVPictureDataKey, jpeg},
                {QVPictureTypeKey, QStringLiteral("Cover (front)")},
                {QVPictureMimeTypeKey, QStringLiteral("image/jpeg")},
                {QVPictureDescriptionKey, QStringLiteral("")},
            }});
        }
    }

    const QList<std::optional<DiscPosition>> discPositions =
        tracks ? DiscPosition::ofTracks(*tracks, result.numberOfDiscs()) : QList<std::optional<DiscPosition>>();
    DurableWriteBatch batch;
    QHash<QString, QString> givenPaths;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        const std::shared_ptr<Track> track = tracks && i < tracks->size() ? tracks->at(i) : nullptr;
        if (track && track->artist())
            metadata.insert(QVArtistTrackTag, *track->artist());
        // A track that knows its disc is numbered on that disc; any other is numbered across
        // the whole list, as one disc's worth, with the album's disc count for both numbers.
        if (const std::optional<DiscPosition> disc = discPositions.value(i)) {
            metadata.insert(QVTrackNoTag, QString::number(disc->number));
            metadata.insert(QVTrackCountTag, QString::number(disc->tracks));
            metadata.insert(QVDiscNoTag, QString::number(disc->disc));
            metadata.insert(QVDiscsTag, QString::number(disc->discs));
        } else {
            metadata.insert(QVTrackNoTag, QString::number(i + 1));
            metadata.insert(QVTrackCountTag, trackCount);
            metadata.remove(QVDiscNoTag);
            metadata.insert(QVDiscsTag, QString::number(result.numberOfDiscs()));
        }
        // Identifiers of one track never pass to the next file, unlike its artist.
        for (const auto &[key, value] : {std::pair{QVMusicBrainzArtistIdTag, track ? track->artistId() : std::nullopt},
                                         {QVMusicBrainzReleaseTrackIdTag, track ? track->trackId() : std::nullopt},
                                         {QVMusicBrainzRecordingIdTag, track ? track->recordingId() : std::nullopt}}) {
            if (value)
                metadata.insert(key, *value);
            else
                metadata.remove(key);
        }
        metadata.insert(QVTitleTag, track ? track->title().value_or(QStringLiteral(""))
                                          : QFileInfo(files.at(i)).fileName());
        givenPaths.insert(QFileInfo(files.at(i)).canonicalFilePath(), files.at(i));
        stageMetaData(metadata, files.at(i), batch, outcome);
        outcome.filesHandled = i + 1;
        sendStatusChange(QStringLiteral("Tagging new files. %1 files processed.").arg(i + 1));
        reportProgress(control, i + 1, files.size());
        if (batch.stagedCount() >= filesPerFlush)
            commitBatch(batch, taggingFailure, givenPaths, outcome);
    }
    // Also when cancelled: the files staged so far become wholly new, the others stay old.
    commitBatch(batch, taggingFailure, givenPaths, outcome);
    outcome.cancelled = outcome.filesHandled < files.size();
    return outcome;
}

void FileHandler::sendStatusChange(const QString &message)
{
    postStatusChange(this, message);
}

FileOutcome FileHandler::renameFiles(QStringList &files, const QString &mask, JobControl *control)
{
    FileOutcome outcome;
    FileRenamer(*this).renameFiles(files, mask, [this, &outcome](const QString &path, const QString &reason) {
        reportFailure(outcome, QStringLiteral("Could not rename %1: %2."), path, reason, aftermath());
    }, control);
    outcome.cancelled = cancelRequested(control) && control->done() < files.size();
    outcome.filesHandled = outcome.cancelled ? control->done() : files.size();
    return outcome;
}

QString FileHandler::buildPreviewForFiles(const QStringList &files, const QString &mask)
{
    return FileRenamer(*this).buildPreview(files, mask);
}
