// Renames every *.mp3 file in FOLDER by MASK through the file handler, as the window and
// the command line do, and prints the time the renaming took in milliseconds.
#include "files/FileHandler.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_renaming_ours FOLDER MASK\n");
        return 2;
    }
    const QDir folder(args.at(1));
    QStringList files;
    for (const QString &name : folder.entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name))
        files.append(folder.filePath(name));

    const QStringList before = files;
    const auto start = std::chrono::steady_clock::now();
    FileHandler().renameFiles(files, args.at(2));
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

    qsizetype moved = 0;
    for (qsizetype i = 0; i < files.size(); ++i)
        moved += files.at(i) != before.at(i);
    std::printf("%.3f ms, %lld of %lld files moved\n", elapsed.count(), static_cast<long long>(moved),
                static_cast<long long>(files.size()));
    return moved == files.size() ? 0 : 1;
}
