#pragma once

#include <QStringList>

// The status lines that tell, before tagging, which rows it leaves out: tracks without a file
// are written nowhere, files without a track are titled by their file names. None when every
// track has its file.
QStringList trackCountNotes(qsizetype files, qsizetype tracks, qsizetype freeTracks);
