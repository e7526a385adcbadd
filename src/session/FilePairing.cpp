#include "session/FilePairing.h"

#include "session/RowEdits.h"

#include <QSet>

namespace FilePairing {

void align(QStringList &rows, qsizetype tracks)
{
    QStringList aligned;
    for (qsizetype row = 0; row < rows.size(); ++row)
        if (row < tracks || !rows.at(row).isEmpty())
            aligned.append(rows.at(row));
    while (aligned.size() < tracks)
        aligned.append(QString());
    rows = aligned;
}

QStringList filesOf(const QStringList &rows)
{
    QStringList files;
    for (const QString &row : rows)
        if (!row.isEmpty())
            files.append(row);
    return files;
}

qsizetype freeTracks(const QStringList &rows, qsizetype tracks)
{
    return rows.mid(0, tracks).count(QString()) + std::max<qsizetype>(0, tracks - rows.size());
}

qsizetype filesWithoutTrack(const QStringList &rows, qsizetype tracks)
{
    return filesOf(rows.mid(tracks)).size();
}

QStringList rowsOfLineup(const Lineup &lineup)
{
    // The paired files lead the line-up's order in the order of their tracks, so the rows
    // need not know the order the files were lined up in.
    QStringList rows;
    qsizetype paired = 0;
    for (const int file : lineup.fileOfTrack)
        rows.append(file >= 0 && paired < lineup.matched ? lineup.order.at(paired++) : QString());
    return rows + lineup.order.mid(lineup.matched);
}

void moveRows(QStringList &rows, const QList<int> &moved, int dropRow, bool ontoSlot, qsizetype tracks)
{
    if (!ontoSlot) {
        ::moveRows(rows, moved, dropRow);
        align(rows, tracks);
        return;
    }
    // The files go where the slot was; the rows they leave stay as free slots.
    QStringList files;
    for (const int row : moved)
        files.append(rows.at(row));
    QStringList placed;
    const QSet<int> leaving(moved.cbegin(), moved.cend());
    for (int row = 0; row < rows.size(); ++row) {
        if (row == dropRow)
            placed += files;
        else
            placed.append(leaving.contains(row) ? QString() : rows.at(row));
    }
    rows = placed;
    align(rows, tracks);
}

void removeRows(QStringList &rows, const QList<int> &removed, qsizetype tracks)
{
    for (const int row : removed)
        if (row >= 0 && row < rows.size())
            rows[row] = QString();
    align(rows, tracks);
}

} // namespace FilePairing
