#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Checks a command's FILE arguments before anything is touched: each must be a readable
// file that holds MPEG audio (tags and junk may come first, tags may follow).
namespace Mp3FileCheck {

// What is wrong with the file, in plain words; nothing when it is an MP3 file.
std::optional<QString> problemWith(const QString &path);

// Prints "tagwright-cli COMMAND: FILE: problem" to standard error for each file that is not
// a readable MP3 file; true when there was none. Commands check every file before the
// first one changes, so bad input changes nothing.
bool reportProblems(const QStringList &paths, const QString &command);

} // namespace Mp3FileCheck
