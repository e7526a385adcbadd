#include "cli/Mp3Arguments.h"

#include "files/TagAPI.h"

#include <cstdio>

void printCommandError(const QString &command, const QString &message)
{
    std::fprintf(stderr, "tagwright-cli %s: %s\n", command.toLocal8Bit().constData(), message.toLocal8Bit().constData());
}

QString mp3ArgumentProblem(const QString &file)
{
    TagAPI tag;
    tag.examineFile(file);
    return tag.fileProblem();
}

bool checkMp3Arguments(const QString &command, const QStringList &files)
{
    if (files.isEmpty()) {
        printCommandError(command, QStringLiteral("no MP3 files given"));
        return false;
    }
    bool allFine = true;
    for (const QString &file : files) {
        const QString problem = mp3ArgumentProblem(file);
        if (!problem.isEmpty()) {
            printCommandError(command, QStringLiteral("%1: %2").arg(file, problem));
            allFine = false;
        }
    }
    return allFine;
}
