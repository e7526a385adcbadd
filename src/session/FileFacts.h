#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class JobControl;

// What the file table shows of each listed file beside its name: the name renaming by the
// mask would give it (or why it would keep its own) and its playing time, and the preview of
// the first file's new name. Reads the files, so it is made off the window's thread.
struct FileFacts {
    struct Fact {
        QString newName;                  // relative to the file's folder
        std::optional<QString> keepsName; // why renaming would leave the file as it is
        std::optional<qint64> lengthMs;
    };
    QHash<QString, Fact> byFile;
    QString preview = QStringLiteral("--");

    // Stops before the next file once cancelled; the facts are then incomplete.
    static FileFacts read(const QStringList &files, const QString &mask, JobControl *control = nullptr);
};
