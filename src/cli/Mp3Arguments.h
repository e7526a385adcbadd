#pragma once

#include <QStringList>

// Checks of the MP3 files named on a command line, made before a command touches any of
// them: each must exist, be readable, hold MPEG audio and carry no damaged ID3v2 tag.

// Why the file cannot be used ("" when it can).
QString mp3ArgumentProblem(const QString &file);

// Prints one line per file that cannot be used, naming it and the problem (and a line when
// no file is given at all). True when all are fine.
bool checkMp3Arguments(const QString &command, const QStringList &files);

// Prints "tagwright-cli COMMAND: MESSAGE" on standard error.
void printCommandError(const QString &command, const QString &message);
