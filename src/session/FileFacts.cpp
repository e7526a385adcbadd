#include "session/FileFacts.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "files/FileRenamer.h"
#include "lineup/FileClues.h"

FileFacts FileFacts::read(const QStringList &files, const QString &mask, JobControl *control)
{
    FileFacts facts;
    for (const QString &file : files) {
        if (cancelRequested(control))
            return facts;
        Fact fact;
        if (!mask.isEmpty()) {
            const FileRenamer::Target target = FileRenamer::targetFor(file, mask);
            fact.newName = target.relativeName;
            fact.keepsName = target.problem;
        }
        fact.lengthMs = FileClues::read(file).lengthMs;
        facts.byFile.insert(file, fact);
    }
    if (!files.isEmpty())
        facts.preview = FileHandler().buildPreviewForFiles({files.first()}, mask);
    return facts;
}
