// The floor for renaming by the mask "%a/%b/%n - %t": reads the frames the mask needs
// straight from TagLib and moves each *.mp3 file in FOLDER with renameat2, creating the
// two folder levels as needed. Nothing a real renamer could leave out is left out; nothing
// more is done. Prints the time the renaming took in milliseconds. With --read-only it only
// reads the tags and makes the names, to tell reading apart from moving.
#include "CpuTime.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace {

QString text(const TagLib::String &value)
{
    return QString::fromStdWString(value.toWString()).replace(u'/', u':');
}

struct NewName {
    QString artist, album, fileName;
};

std::optional<NewName> readNewName(const QString &path)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
    if (!tag)
        return std::nullopt;
    const TagLib::ID3v2::FrameList albumArtist = tag->frameListMap()["TPE2"];
    return NewName{text(albumArtist.isEmpty() ? tag->artist() : albumArtist.front()->toString()), text(tag->album()),
                   QStringLiteral("%1 - %2.mp3").arg(tag->track(), 2, 10, QChar(u'0')).arg(text(tag->title()))};
}

bool renameOne(const QString &folder, const QString &path)
{
    const std::optional<NewName> name = readNewName(path);
    if (!name)
        return false;
    const QString artistFolder = folder + u'/' + name->artist;
    const QString albumFolder = artistFolder + u'/' + name->album;
    ::mkdir(QFile::encodeName(artistFolder).constData(), 0777);
    ::mkdir(QFile::encodeName(albumFolder).constData(), 0777);
    return ::renameat2(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD,
                       QFile::encodeName(albumFolder + u'/' + name->fileName).constData(), RENAME_NOREPLACE)
           == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool readOnly = args.size() == 3 && args.at(2) == u"--read-only";
    if (args.size() != 2 && !readOnly) {
        std::fprintf(stderr, "usage: bench_renaming_floor FOLDER [--read-only]\n");
        return 2;
    }
    const QDir folder(args.at(1));
    const QStringList names = folder.entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name);

    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMilliseconds();
    qsizetype moved = 0;
    for (const QString &name : names)
        moved += readOnly ? readNewName(folder.filePath(name)).has_value() : renameOne(folder.path(), folder.filePath(name));
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = cpuMilliseconds() - cpuStart;

    std::printf("%.3f ms wall, %.3f ms cpu, %lld of %lld files done\n", elapsed.count(), cpu, static_cast<long long>(moved),
                static_cast<long long>(names.size()));
    return moved == names.size() ? 0 : 1;
}
