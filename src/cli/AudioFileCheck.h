#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Checks a command's FILE arguments before anything is touched: each must be a readable
// audio file of a format Tagwright tags, told by its content whatever its name says.
namespace AudioFileCheck {

// What is wrong with the file, in plain words; nothing when it is one to tag.
std::optional<QString> problemWith(const QString &path);

// Prints "tagwright-cli COMMAND: FILE: problem" to standard error for each file that is not
// one to tag; true when there was none. Commands check every file before the first one
// changes, so bad input changes nothing.
bool reportProblems(const QStringList &paths, const QString &command);

} // namespace AudioFileCheck
