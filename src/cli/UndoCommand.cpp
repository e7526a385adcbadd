// tagwright-cli undo and history: take back the newest file operation, and list them all.
#include "cli/CliCommand.h"
#include "common/JobControl.h"
#include "journal/JournalUndo.h"
#include "session/Session.h"
#include "session/StatusText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

int runUndo(const QCommandLineParser &)
{
    QTextStream err(stderr);
    JobControl control;
    const JournalUndo undo = Session().undoing()(control);
    if (!undo.entry) {
        err << "tagwright-cli undo: nothing to undo\n";
        return 1;
    }
    for (const QString &line : undo.outcome.failureLines())
        err << "tagwright-cli undo: " << line << "\n";
    QTextStream(stdout) << "Undid " << StatusText::operation(undo.entry->what, undo.entry->changes) << " of "
                        << undo.entry->when.toLocalTime().toString(Qt::ISODate) << ": "
                        << undo.outcome.filesChanged() << " restored, " << undo.outcome.failures.size()
                        << " left as they are\n";
    return undo.outcome.failures.isEmpty() ? 0 : 1;
}

int runHistory(const QCommandLineParser &)
{
    QJsonArray entries;
    for (const EntryFile::Contents &entry : Session().journal().history()) {
        entries.append(QJsonObject{{QStringLiteral("when"), entry.when.toString(Qt::ISODateWithMs)},
                                   {QStringLiteral("what"), entry.what},
                                   {QStringLiteral("files"), qint64(entry.changes)},
                                   {QStringLiteral("undone"), entry.undone}});
    }
    QTextStream(stdout) << QJsonDocument(entries).toJson();
    return 0;
}

const CliCommandRegistration undoRegistration({
    QStringLiteral("undo"),
    QStringLiteral("Takes back the newest tagging, tag removal or renaming (of this program or the window)\n"
                   "not yet undone: each file gets its old tags or its old name back, byte for byte. A file\n"
                   "changed since, or whose old name is taken, is named and left as it is, and the exit\n"
                   "status is then 1; so it is when there is nothing to undo. An undo that was stopped is\n"
                   "finished by running it again."),
    {},
    {},
    {},
    runUndo,
});

const CliCommandRegistration historyRegistration({
    QStringLiteral("history"),
    QStringLiteral("Prints the operations the undo journal keeps, newest first, as a JSON array of\n"
                   "{\"when\", \"what\", \"files\", \"undone\"}."),
    {},
    {},
    {},
    runHistory,
});

} // namespace
