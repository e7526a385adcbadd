#pragma once

#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

// A renaming mask: the user's file-name pattern whose placeholders "%d", "%a", "%b", "%t",
// "%n", "%y" and "%r" take one file's tag values. Renaming inserts values made safe for a
// file name; the preview shows them as they are.
class RenamingMask {
public:
    enum class Values { FileNameSafe, Unchanged };
    // A file's text value under a song metadata dictionary key.
    using ValueSource = std::function<QString(const QString &key)>;

    // The mask with the values of the song metadata dictionary put in: each placeholder of
    // the mask is replaced once, and no text a value brings in is read as a placeholder.
    // An empty mask or an empty dictionary (an untagged file) gives the mask itself.
    static QString substitute(const QString &mask, const QVariantMap &metadata, Values values);
    // The same for a tagged file, asking the source once for each value whose placeholder
    // the mask holds, and for no other.
    static QString substituteOnDemand(const QString &mask, const ValueSource &valueOf, Values values);

    // The substituted name without its empty folder components ("a//b" is "a/b"): a value
    // that is empty, such as the disc of a one-disc album, adds no folder level.
    static QString withoutEmptyFolders(const QString &name);

    // Why a substituted name cannot serve as a new name relative to the file's folder (an
    // empty name, or a "." or ".." among its components, which would collapse a folder
    // level or climb out of the folder); nothing when it can.
    static std::optional<QString> problemWithName(const QString &name);
};
