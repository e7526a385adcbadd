#pragma once

#include <QString>

// The status line that warns, before tagging, that the files and the tracks on show differ in
// number, saying what tagging does about it: file i takes track i; a file beyond the last
// track is titled by its file name, a track beyond the last file is written nowhere.
// Empty when the numbers match.
QString trackCountNote(qsizetype files, qsizetype tracks);
