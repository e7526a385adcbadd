#pragma once

#include <QByteArray>
#include <QString>

// The names of new files before they take their old files' places, and the removal of those
// a killed process left behind.
namespace HiddenNewFiles {

// ".NAME.PID-RANDOM.tagwright-new": hidden, recognisable to a person by the old name (cut
// short, so that the whole name stays within the file system's limit), and telling which
// process made it.
QByteArray name(const QString &path);

// Removes the new files that processes which no longer run left in the folder: a kill
// between naming a new file and renaming it over its old one leaves a complete copy. The
// old file is whole then, and the copy's change was never reported as done.
void removeLeftovers(const QString &folder);

} // namespace HiddenNewFiles
