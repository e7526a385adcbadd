// tagwright-cli identify: finds the MusicBrainz release of each album among the files, writing nothing.
#include "cli/CliCommand.h"
#include "cli/IdentificationJson.h"
#include "cli/LibraryRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace {

int runIdentify(const QCommandLineParser &parsed)
{
    QJsonArray output;
    bool searched = true;
    LibraryRun run(QStringLiteral("identify"), {}, [&](const Identification &identification) {
        output.append(identificationToJson(identification));
        searched = searched && !(identification.candidates.isEmpty() && !identification.failures.isEmpty());
    });
    const bool finished = run.run(parsed.positionalArguments());
    const QByteArray json = QJsonDocument(output).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    if (std::fflush(stdout) != 0)
        return 1;
    return !finished ? 130 : searched ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("identify"),
    QStringLiteral("Finds the MusicBrainz release of each album among the files and folders (a folder is\n"
                   "an album; CD1, CD 2, Disc 3... folders join their parent; a folder whose files name\n"
                   "different albums is split by them) and prints for each, as a JSON array:\n"
                   "{\"folder\", \"files\", \"clues\", \"candidates\": [{\"score\", \"album\", \"pairing\":\n"
                   "[{\"file\", \"track\"}]}]}, best candidate first. It searches by the album and artist\n"
                   "tags, else the folder's name (\"Artist - Album (Year)\" or Artist/Album), else the words\n"
                   "the file names share, looks the first 5 releases up (one request a second, shared by\n"
                   "every Tagwright program on this computer) and scores each from 0 to 1 by how its\n"
                   "tracks pair with the files (numbers, titles, lengths) and how its title, artist and\n"
                   "year agree with the clues; 0.8 or more is a confident match. A look-up that fails is\n"
                   "named on standard error and its release left out; the exit status is 1 when a search\n"
                   "failed. Progress goes to standard error; Ctrl+C stops between albums (exit status 130)."),
    {},
    QStringLiteral("PATH..."),
    QStringLiteral("no files or folders given"),
    runIdentify,
});

} // namespace
