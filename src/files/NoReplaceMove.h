#pragma once

#include <QString>

// Moves a file to a new path in one atomic step that never replaces an existing file, so
// no check-then-move race can overwrite anything a user owns.
class NoReplaceMove {
public:
    // Moves with renameat2(RENAME_NOREPLACE); where the file system lacks that flag, falls
    // back to moveByLink. Returns 0 on success, else the errno of the failure (EEXIST when
    // the new path is taken, EXDEV across file systems); the file then stays where it was.
    static int move(const QString &from, const QString &to);

    // The same move made of link() then unlink(): link() refuses an existing target just
    // as atomically. Used on file systems where renameat2 has no RENAME_NOREPLACE.
    static int moveByLink(const QString &from, const QString &to);

    // A user-readable reason for a move's errno.
    static QString describeError(int error);
};
