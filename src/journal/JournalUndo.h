#pragma once

#include "files/FileOutcome.h"
#include "journal/EntryFile.h"

#include <optional>

class Journal;
class JobControl;

// Takes back the newest operation of a journal not yet undone: each file the operation left
// as it was left gets its old tags or its old name back, through the same crash-safe writer;
// a file changed since is named and left as it is. Files already back as they were count as
// restored, so an undo stopped part-way is finished by undoing again. The entry is marked
// undone once every file was looked at, unless the undo was cancelled.
struct JournalUndo {
    std::optional<EntryFile::Contents> entry;   // nothing when there was nothing to undo
    FileOutcome outcome;

    static JournalUndo undoNewest(const Journal &journal, JobControl *control = nullptr);
};
