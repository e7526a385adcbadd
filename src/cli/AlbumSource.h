#pragma once

#include "cli/CliCommand.h"
#include "album/ResultEntry.h"

#include <optional>

// The album a command reads with "--album FILE|-" and "--index N": the JSON form that
// `search` prints, from a file or standard input, the object itself or element N of an
// array of them. `tag` and `lineup` share it.
namespace AlbumSource {

// Inline, so that they are ready before any command's registration that includes them.
inline const CliOption albumOption{QStringLiteral("album"), QStringLiteral("FILE|-"),
                                   QStringLiteral("the album's JSON file, or - for standard input"), true};
inline const CliOption indexOption{QStringLiteral("index"), QStringLiteral("N"),
                                   QStringLiteral("the album's position in a JSON array (default 0)")};

// The chosen album; nothing when it cannot be read, after printing
// "tagwright-cli COMMAND: why" to standard error.
std::optional<ResultEntry> read(const QCommandLineParser &parsed, const QString &command);

} // namespace AlbumSource
