#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Checks a command's FILE arguments before anything is touched: each must be a readable
// file that holds MPEG audio (an ID3v2 tag may come first).
namespace Mp3FileCheck {

// What is wrong with the file, in plain words; nothing when it is an MP3 file.
std::optional<QString> problemWith(const QString &path);

// One line "FILE: problem" for each file that is not a readable MP3 file.
QStringList problemLines(const QStringList &paths);

} // namespace Mp3FileCheck
