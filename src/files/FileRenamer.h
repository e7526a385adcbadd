#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ChangeRecorder;
class JobControl;

// Renames audio files after their own tags by a renaming mask, into folders below each
// file's own folder as the mask says, and previews the first file's new name.
class FileRenamer {
public:
    // Told of each file that keeps its name, and why, before its status line.
    using FailureHandler = std::function<void(const QString &path, const QString &reason)>;

    // What renaming makes of one file: its new path (the old one when the name stays) and the
    // new name relative to the file's folder, or why the file keeps its name.
    struct Target {
        QString path;
        QString relativeName;
        std::optional<QString> problem;
    };
    // Why a file whose tags hold no value for the mask keeps its name.
    static QString noTagsReason() { return QStringLiteral("has no tags to name it by; left as it is"); }

    // With a recorder, every move is recorded before it is made.
    explicit FileRenamer(ChangeRecorder *recorder = nullptr) : m_recorder(recorder) {}

    // Where renaming by the mask would move the file.
    static Target targetFor(const QString &path, const QString &mask);

    // Moves each file to the name the mask gives for its tags, never replacing an existing
    // file, and sets its entry to the new path; a file that is skipped or cannot be moved
    // keeps its entry. Gives the control the status line "New file renamed. %i files
    // processed." and the progress after every file; stops before the next file once
    // cancelled. Returns how many files moved.
    qsizetype renameFiles(QStringList &files, const QString &mask, const FailureHandler &onFailure,
                          JobControl *control = nullptr);

    // The first file's new name as the mask resolves it with its values unchanged, relative
    // to its folder and without the extension; "--" without files or without a mask.
    QString buildPreview(const QStringList &files, const QString &mask);

private:
    // Renames one file and updates path; the reason when the file keeps its name.
    std::optional<QString> renameFile(QString &path, const QString &mask);

    ChangeRecorder *m_recorder;
};
