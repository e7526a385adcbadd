#include "window/TrackTableModel.h"

#include "window/LengthText.h"
#include "window/TableDragData.h"

#include <algorithm>

namespace {

// The track's number on its disc: as the catalogue gives it, else its place among the tracks
// of its disc (all of them for tracks that know no disc).
int numberOnDisc(const TrackList &tracks, int row)
{
    const Track &track = *tracks.at(row);
    if (track.numberOnDisc())
        return *track.numberOnDisc();
    return int(std::count_if(tracks.begin(), tracks.begin() + row, [&track](const auto &before) {
               return before->discNumber() == track.discNumber();
           })) + 1;
}

} // namespace

TrackTableModel::TrackTableModel(Session &session, QObject *parent)
    : SessionTableModel(session, Session::List::tracks,
                        {{QStringLiteral("Number"), tr("No."), false},
                         {QStringLiteral("Title"), tr("Title"), true},
                         {QStringLiteral("Artist"), tr("Artist"), true},
                         {QStringLiteral("Length"), tr("Length"), false},
                         {QStringLiteral("Disc"), tr("Disc"), false}},
                        {TableDragData::rowDragType}, parent)
{
    connect(&session, &Session::tracksChanged, this, &TrackTableModel::reloadData);
}

std::optional<QString> TrackTableModel::cellText(int row, int column) const
{
    const TrackList *tracks = m_session.tracks().get();
    requireRow(row, bool(tracks));
    const Track &track = *tracks->at(row);
    switch (column) {
    case number: return QString::number(numberOnDisc(*tracks, row));
    case title: return track.title();
    case artist: return track.artist();
    case length: return lengthText(track.lengthMs());
    case disc: return track.discNumber() ? std::optional(QString::number(*track.discNumber())) : std::nullopt;
    }
    return std::nullopt;
}

void TrackTableModel::setCellText(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_session.rowCount(Session::List::tracks))
        return;
    Track &track = *m_session.tracks()->at(row);
    if (column == title)
        track.setTitle(text);
    else if (column == artist)
        track.setArtist(text);
}

int TrackTableModel::columnCount(const QModelIndex &parent) const
{
    const TrackList *tracks = m_session.tracks().get();
    const bool severalDiscs = tracks && std::any_of(tracks->begin(), tracks->end(), [](const auto &track) {
        return track->discNumber().value_or(1) > 1;
    });
    return SessionTableModel::columnCount(parent) - (severalDiscs || parent.isValid() ? 0 : 1);
}
