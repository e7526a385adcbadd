#include "files/FileHandler.h"

#include "common/JobControl.h"
#include "album/IntValue.h"
#include "files/DiscPosition.h"
#include "files/DurableWriteBatch.h"
#include "files/FileRenamer.h"
#include "files/ImageEncoding.h"

#include <QFileInfo>
#include <QImage>
#include <QScopedValueRollback>

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

std::optional<TagValues> FileHandler::readTags(const QString &path, CoverReading cover)
{
    return TagFile::open(path)->read(cover);
}

FileOutcome FileHandler::writeTags(const TagValues &values, const QString &path)
{
    FileOutcome outcome;
    DurableWriteBatch batch;
    attachRecorder(batch);
    stageTags(values, path, batch, outcome);
    commitBatch(batch, taggingFailure, {{QFileInfo(path).canonicalFilePath(), path}}, outcome);
    outcome.filesHandled = 1;
    return outcome;
}

void FileHandler::attachRecorder(DurableWriteBatch &batch) const
{
    batch.setRecorder(m_recorder);
}

void FileHandler::stageTags(const TagValues &values, const QString &path, DurableWriteBatch &batch,
                            FileOutcome &outcome)
{
    QString reason;
    if (!TagFile::open(path)->stageWrite(values, batch, &reason))
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
    if (aftermath.isEmpty()) {
        sendStatusChange(failureFormat.arg(path, reason));
        outcome.failures.append({path, reason});
        return;
    }
    sendStatusChange(failureFormat.arg(path, reason) + u' ' + aftermath);
    outcome.failures.append({path, reason + QStringLiteral(". ") + aftermath});
}

FileOutcome FileHandler::removeTags(const QStringList &files, JobControl *control)
{
    const QScopedValueRollback statusTo(m_control, control);
    FileOutcome outcome;
    sendStatusChange(QStringLiteral("Start removing existing tags."));
    DurableWriteBatch batch;
    attachRecorder(batch);
    QHash<QString, QString> givenPaths;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        QString reason;
        givenPaths.insert(QFileInfo(files.at(i)).canonicalFilePath(), files.at(i));
        if (!TagFile::open(files.at(i))->stageRemoval(batch, &reason))
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
    const QScopedValueRollback statusTo(m_control, control);
    FileOutcome outcome;
    TagValues values;
    values.album = result.albumName().value_or(QString());
    values.albumArtist = result.artistName().value_or(QString());
    values.genres = QStringList{result.genre().value_or(QString())};
    values.year = intValue(result.yearOfPublication().value_or(QString()));
    const qint32 trackCount = qint32(tracks ? tracks->size() : files.size());
    values.id(CatalogueId::MusicBrainzAlbum) = result.id().value_or(QString());
    values.id(CatalogueId::MusicBrainzReleaseGroup) = result.releaseGroupId().value_or(QString());
    values.id(CatalogueId::MusicBrainzAlbumArtist) = result.albumArtistId().value_or(QString());
    values.id(CatalogueId::Asin) = result.asinNumber().value_or(QString());
    // Encoded once for the whole batch. A cover that cannot be encoded leaves the pictures alone.
    if (result.cover())
        values.frontCoverJpeg = encodedImage(*result.cover(), "JPEG");

    const QList<std::optional<DiscPosition>> discPositions =
        tracks ? DiscPosition::ofTracks(*tracks, result.numberOfDiscs()) : QList<std::optional<DiscPosition>>();
    DurableWriteBatch batch;
    attachRecorder(batch);
    QHash<QString, QString> givenPaths;
    const qsizetype fileCount = files.size() - files.count(QString());
    qsizetype i = 0;
    for (; i < files.size() && !cancelRequested(control); ++i) {
        // An empty entry is a track without a file: nothing is written for it, and the files
        // after it keep the tracks at their own positions.
        if (files.at(i).isEmpty())
            continue;
        const std::shared_ptr<Track> track = tracks && i < tracks->size() ? tracks->at(i) : nullptr;
        if (track && track->artist())
            values.trackArtist = *track->artist();
        // A track that knows its disc is numbered on that disc; any other is numbered across
        // the whole list, as one disc's worth, with the album's disc count for both numbers.
        if (const std::optional<DiscPosition> disc = discPositions.value(i)) {
            values.trackNumber = disc->number;
            values.trackCount = disc->tracks;
            values.discNumber = disc->disc;
            values.discCount = disc->discs;
        } else {
            values.trackNumber = qint32(i + 1);
            values.trackCount = trackCount;
            values.discNumber = 0;
            values.discCount = result.numberOfDiscs();
        }
        // Identifiers of one track never pass to the next file, unlike its artist.
        values.id(CatalogueId::MusicBrainzArtist) = track ? track->artistId().value_or(QString()) : QString();
        values.id(CatalogueId::MusicBrainzReleaseTrack) = track ? track->trackId().value_or(QString()) : QString();
        values.id(CatalogueId::MusicBrainzRecording) = track ? track->recordingId().value_or(QString()) : QString();
        values.title = track ? track->title().value_or(QString()) : QFileInfo(files.at(i)).fileName();
        givenPaths.insert(QFileInfo(files.at(i)).canonicalFilePath(), files.at(i));
        stageTags(values, files.at(i), batch, outcome);
        ++outcome.filesHandled;
        sendStatusChange(QStringLiteral("Tagging new files. %1 files processed.").arg(outcome.filesHandled));
        reportProgress(control, outcome.filesHandled, fileCount);
        if (batch.stagedCount() >= filesPerFlush)
            commitBatch(batch, taggingFailure, givenPaths, outcome);
    }
    // Also when cancelled: the files staged so far become wholly new, the others stay old.
    commitBatch(batch, taggingFailure, givenPaths, outcome);
    outcome.cancelled = i < files.size();
    return outcome;
}

void FileHandler::sendStatusChange(const QString &message)
{
    reportStatus(m_control, message);
}

FileOutcome FileHandler::renameFiles(QStringList &files, const QString &mask, JobControl *control)
{
    const QScopedValueRollback statusTo(m_control, control);
    FileOutcome outcome;
    FileRenamer(m_recorder).renameFiles(files, mask, [this, &outcome](const QString &path, const QString &reason) {
        // A file left unnamed for want of tags was never touched; its reason says so.
        reportFailure(outcome, QStringLiteral("Could not rename %1: %2."), path, reason,
                      reason == FileRenamer::noTagsReason() ? QString() : aftermath());
    }, control);
    outcome.cancelled = cancelRequested(control) && control->done() < files.size();
    outcome.filesHandled = outcome.cancelled ? control->done() : files.size();
    return outcome;
}

QString FileHandler::buildPreviewForFiles(const QStringList &files, const QString &mask)
{
    return FileRenamer().buildPreview(files, mask);
}
