#pragma once

#include <QString>
#include <functional>
#include <optional>

// The time of the last request to a service, kept in a small file that every process of the
// user on this machine shares. Each read-and-write holds an exclusive file lock (flock),
// which the system lets go when a process ends, so the pace holds across processes and a
// crash leaves nothing locked. The time is written at a fixed width in place, so the file
// always holds a whole time or none that reads as one.
class PaceFile {
public:
    // Given the last time the file holds (nothing when it holds none), answers the time to
    // store in its place, or nothing to leave it.
    using Claim = std::function<std::optional<qint64>(std::optional<qint64> last)>;

    explicit PaceFile(QString path) : m_path(std::move(path)) {}

    // Runs the claim while the file is locked; false, without running it, when the file
    // cannot be opened or locked.
    bool update(const Claim &claim) const;

    // In the user's runtime folder ($XDG_RUNTIME_DIR), else in a folder of the user's own in
    // the temporary folder; empty when neither can be had.
    static QString defaultPath();

private:
    QString m_path;
};
