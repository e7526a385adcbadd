#pragma once

#include "album/ResultEntry.h"
#include "files/FileOutcome.h"
#include "files/TagFile.h"

class ChangeRecorder;
class DurableWriteBatch;
class JobControl;

#include <QHash>
#include <QStringList>

// Reads, writes and removes the tags of audio files of every format TagFile knows, tags a
// list of files from one album, and renames files by a renaming mask. Keeps nothing between
// calls, and returns what each operation did to the files as a FileOutcome. The batch
// operations report status lines and files done of total to the job control a caller may hand
// in, and stop before the next file once cancelled.
// With a ChangeRecorder, every change is recorded before it is made.
class FileHandler {
public:
    explicit FileHandler(ChangeRecorder *recorder = nullptr) : m_recorder(recorder) {}
    ChangeRecorder *recorder() const { return m_recorder; }

    // Whether reading decodes the first picture into the cover. Decoding a large cover takes
    // tens of milliseconds; a caller that has its cover already skips it.
    using CoverReading = TagFile::CoverReading;

    // The file's tag values; nothing for a file without any tag or one that cannot be read.
    std::optional<TagValues> readTags(const QString &path, CoverReading cover = CoverReading::Decode);
    FileOutcome writeTags(const TagValues &values, const QString &path);
    // Removes every tag and picture of each file.
    FileOutcome removeTags(const QStringList &files, JobControl *control = nullptr);

    // Writes the album into every file, the track at position i into the file at position i;
    // an empty entry stands for a track without a file and is passed over.
    // Cancelled, the files staged so far are still committed, each wholly old or wholly new.
    FileOutcome tagFiles(const QStringList &files, const TrackListPtr &tracks, const ResultEntry &result,
                         JobControl *control = nullptr);

    // Moves every file to the name the mask gives for its tags; each entry becomes the
    // file's new path (a file that could not be moved keeps its old one).
    FileOutcome renameFiles(QStringList &files, const QString &mask, JobControl *control = nullptr);
    QString buildPreviewForFiles(const QStringList &files, const QString &mask);

private:
    // To the control of the batch operation under way.
    void sendStatusChange(const QString &message);
    // A batch that records its changes with the recorder.
    void attachRecorder(DurableWriteBatch &batch) const;
    // Stages one file's new tag into the batch; a file that cannot take it is reported.
    void stageTags(const TagValues &values, const QString &path, DurableWriteBatch &batch, FileOutcome &outcome);
    // Makes the staged files durable and in place; reports those that could not be, by the
    // paths the caller gave (`givenPaths`, by the path each leads to, which the batch names).
    void commitBatch(DurableWriteBatch &batch, const QString &failureFormat,
                     const QHash<QString, QString> &givenPaths, FileOutcome &outcome);
    // Tells the status line why the file could not be changed and what became of it, and
    // adds the file to the outcome's failures.
    void reportFailure(FileOutcome &outcome, const QString &failureFormat, const QString &path,
                       const QString &reason, const QString &aftermath);

    JobControl *m_control = nullptr; // the batch operation's, while it runs
    ChangeRecorder *m_recorder;
};
