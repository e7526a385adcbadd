#include "cli/AutoTag.h"

#include "cli/IdentificationJson.h"
#include "cli/LibraryRun.h"
#include "files/FileHandler.h"
#include "identify/CandidateScore.h"
#include "journal/JournalEntry.h"
#include "journal/Journal.h"
#include "session/FilePairing.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr qsizetype candidatesListed = 3;

void printLine(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Why an album is left untagged; nothing when its best candidate can be written.
std::optional<QString> whyLeft(const Identification &identification, double minScore)
{
    if (identification.candidates.isEmpty())
        return QStringLiteral("no release found");
    if (!identification.confident(minScore)) {
        QStringList lines;
        for (const Candidate &candidate : identification.candidates.mid(0, candidatesListed))
            lines.append(QStringLiteral("    ") + candidateLine(candidate));
        return QStringLiteral("no release scores %1 or more; the best:\n%2")
            .arg(QString::number(minScore, 'f', 2), lines.join(u'\n'));
    }
    return std::nullopt;
}

} // namespace

namespace AutoTag {

int run(const QCommandLineParser &parsed)
{
    double minScore = CandidateScore::confident;
    if (parsed.isSet(QStringLiteral("min-score"))) {
        bool ok = false;
        minScore = parsed.value(QStringLiteral("min-score")).toDouble(&ok);
        if (!ok || minScore < 0 || minScore > 1) {
            printLine(QStringLiteral("tagwright-cli tag: --min-score needs a number from 0 to 1, not \"%1\"")
                          .arg(parsed.value(QStringLiteral("min-score"))));
            return 2;
        }
    }
    const bool skipTagged = parsed.isSet(QStringLiteral("skip-tagged"));
    qsizetype left = 0;
    bool filesFailed = false;
    const LibraryRun::Skip skip = [skipTagged](const AlbumFiles &album) {
        // Tagging writes the release into every file it pairs, so one that carries a release
        // marks an album done by an earlier run.
        const bool tagged = std::any_of(album.files.cbegin(), album.files.cend(),
                                        [](const AlbumFileFacts &file) { return file.releaseId.has_value(); });
        if (skipTagged && tagged)
            printLine(QStringLiteral("Passed over %1: its files carry a MusicBrainz album id").arg(album.folder));
        return skipTagged && tagged;
    };
    // The whole run is one operation to undo, whichever albums it tagged.
    const auto entry = Journal().begin(Journal::Operation::tagFiles);
    LibraryRun run(QStringLiteral("tag"), skip, [&](const Identification &identification) {
        const QString folder = identification.files.folder;
        if (const std::optional<QString> why = whyLeft(identification, minScore)) {
            ++left;
            printLine(QStringLiteral("Left %1 untagged: %2").arg(folder, *why));
            return;
        }
        // Each file is written with the track it pairs with, a track without a file is passed
        // over, and a file that pairs with no track is left as it is.
        const Candidate &best = identification.candidates.first();
        const QStringList rows = FilePairing::rowsOfLineup(best.lineup).mid(0, best.lineup.fileOfTrack.size());
        const FileOutcome outcome = FileHandler(entry.get()).tagFiles(rows, best.album->trackList(), *best.album);
        for (const QString &file : best.lineup.order.mid(best.lineup.matched))
            printLine(QStringLiteral("Left %1 untagged: it pairs with no track of the release").arg(file));
        for (const QString &line : outcome.failureLines())
            printLine(QStringLiteral("tagwright-cli tag: %1").arg(line));
        filesFailed = filesFailed || !outcome.failures.isEmpty();
        printLine(QStringLiteral("Tagged %1 of %2 files in %3 as %4")
                      .arg(outcome.filesChanged()).arg(identification.files.files.size())
                      .arg(folder, candidateLine(best)));
    });
    if (!run.run(parsed.positionalArguments()))
        return 130;
    if (left > 0)
        printLine(QStringLiteral("%1 album(s) left untagged").arg(left));
    return left > 0 || filesFailed ? 1 : 0;
}

} // namespace AutoTag
