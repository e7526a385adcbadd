#pragma once

#include "support/TemporaryCatalogue.h"

#include <QList>
#include <QString>
#include <QVariantMap>

// The MusicBrainz releases of the bundled sample catalogue, for tests that identify albums:
// their ids, the lengths of their tracks, and album folders of generated MP3 files made to
// match them (or not).
namespace SampleReleases {

inline const QString gravelAndRain = QStringLiteral("c4dee7ad-69a4-5aee-b424-6b6955419a9a");       // Kestrel Road, 7 tracks
inline const QString otherStories = QStringLiteral("896af645-7664-54b4-869a-c1d984130d5f");        // Kestrel Road, 10 tracks
inline const QString northernLights = QStringLiteral("1649079c-3a3f-5dc9-8022-965703279c25");      // The Halvard Quartet, 8 tracks
inline const QString liveAtHarbourHall = QStringLiteral("9f37fa98-207b-5baa-9d15-649002145e97");   // Mira Okafor, 6 + 5 tracks
inline const QString songsUnderLights = QStringLiteral("00511a5e-d89b-5429-ad43-b49156b6cb23");    // Elin Varga, 7 tracks

const QList<qint64> &gravelAndRainLengths();
const QList<qint64> &liveAtHarbourHallLengths(); // both discs in one run

// One file to make: its path below the album folder, playing time and tags (none when empty).
struct FileToMake {
    QString name;
    qint64 lengthMs;
    QVariantMap tags = {};
};
// Writes the files below the folder; false when one could not be written.
bool makeFiles(const QString &folder, const QList<FileToMake> &files);
// "01.mp3", "02.mp3"... of these lengths, each a second longer than the track, as a rip is.
QList<FileToMake> numberedFiles(const QList<qint64> &lengths);

// Every release's lookup answer and cover from the sample catalogue; searches are the test's.
void addReleases(TemporaryCatalogue &catalogue);
// The sample catalogue's answer to the search named, e.g. "Kestrel Road".
QByteArray searchAnswer(const QString &name);

} // namespace SampleReleases
