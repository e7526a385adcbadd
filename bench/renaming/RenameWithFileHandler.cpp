// Renames every *.mp3 file in FOLDER by MASK through the file handler, as the window and
// the command line do, and prints the time the renaming took in milliseconds. With
// --read-only it only makes each file's name as the preview does, to tell reading apart
// from moving.
#include "CpuTime.h"
#include "files/FileHandler.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <ctime>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool readOnly = args.size() == 4 && args.at(3) == u"--read-only";
    if (args.size() != 3 && !readOnly) {
        std::fprintf(stderr, "usage: bench_renaming_ours FOLDER MASK [--read-only]\n");
        return 2;
    }
    const QDir folder(args.at(1));
    QStringList files;
    for (const QString &name : folder.entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name))
        files.append(folder.filePath(name));

    const QStringList before = files;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMilliseconds();
    FileHandler handler;
    if (readOnly) {
        for (QString &file : files)
            file = handler.buildPreviewForFiles({file}, args.at(2));
    } else {
        handler.renameFiles(files, args.at(2));
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = cpuMilliseconds() - cpuStart;

    qsizetype moved = 0;
    for (qsizetype i = 0; i < files.size(); ++i)
        moved += files.at(i) != before.at(i);
    std::printf("%.3f ms wall, %.3f ms cpu, %lld of %lld files done\n", elapsed.count(), cpu, static_cast<long long>(moved),
                static_cast<long long>(files.size()));
    return moved == files.size() ? 0 : 1;
}
