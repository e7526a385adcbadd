#pragma once

#include <QString>
#include <QStringList>

class FileContentsPlan;

// Told of every change a file operation is about to make and has made, so that a record of
// it (the undo journal) can take the change back later. A change is told before it is made;
// the writer makes no file change before makeDurable() has returned true.
class ChangeRecorder {
public:
    virtual ~ChangeRecorder() = default;

    // The file at `path`, read through `fd` as it is now, is about to get the planned
    // contents; `fd` stays open only for the call. False with the reason when it cannot be
    // recorded: the file is then left alone.
    virtual bool recordWrite(const QString &path, int fd, const FileContentsPlan &plan, QString *reason) = 0;
    // The file now has the contents recorded for it; `fd` reads it as it is.
    virtual void recordWritten(const QString &path, int fd) = 0;
    // The file at `from` is about to move to `to`; `madeFolders` are the folders made for it,
    // innermost first.
    virtual bool recordRename(const QString &from, const QString &to, const QStringList &madeFolders,
                              QString *reason) = 0;
    virtual void recordRenamed(const QString &to) = 0;
    // Makes everything recorded so far durable.
    virtual bool makeDurable(QString *reason) = 0;
};
