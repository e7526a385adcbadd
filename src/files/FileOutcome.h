#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One file that a file operation could not change as asked: its path as the caller gave it,
// and in plain words what went wrong and what became of the file.
struct FileFailure {
    QString path;
    QString reason;
};

// What a file operation over a list of files did: how many of them it handled, which of
// those failed and why, and whether it was cancelled before the rest.
struct FileOutcome {
    qsizetype filesHandled = 0;
    QList<FileFailure> failures; // in the order met
    bool cancelled = false;

    // Files handled and changed as asked.
    qsizetype filesChanged() const { return filesHandled - failures.size(); }
    // "path: reason" lines, one per failed file.
    QStringList failureLines() const;
};
