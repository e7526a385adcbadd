#pragma once

#include "files/TagValues.h"

#include <QString>
#include <optional>

// A renaming mask: the user's file-name pattern whose placeholders "%d", "%a", "%b", "%t",
// "%n", "%y" and "%r" take one file's tag values. Renaming inserts values made safe for a
// file name; the preview shows them as they are.
class RenamingMask {
public:
    enum class Values { FileNameSafe, Unchanged };

    // The mask with a tagged file's values put in: each placeholder of the mask is replaced
    // once, and no text a value brings in is read as a placeholder. Nothing for an untagged
    // file, nor when the mask asks for values and the file has none of them: its name would
    // be the mask's own text.
    static std::optional<QString> substitute(const QString &mask, const std::optional<TagValues> &tags, Values values);

    // The substituted name without its empty folder components ("a//b" is "a/b"): a value
    // that is empty, such as the disc of a one-disc album, adds no folder level.
    static QString withoutEmptyFolders(const QString &name);

    // Why a substituted name cannot serve as a new name relative to the file's folder (an
    // empty name, or a "." or ".." among its components, which would collapse a folder
    // level or climb out of the folder); nothing when it can.
    static std::optional<QString> problemWithName(const QString &name);
};
