#include "window/TrackTableModel.h"

#include <algorithm>

TrackTableModel::TrackTableModel(MainController &controller, const Session &session, QObject *parent)
    : ControllerTableModel(controller, session, TableOutlet::trackListView,
                           {{QStringLiteral("Number"), tr("No."), false},
                            {QStringLiteral("Title"), tr("Title"), true},
                            {QStringLiteral("Artist"), tr("Artist"), true},
                            {QStringLiteral("Disc"), tr("Disc"), false}},
                           true, parent)
{
}

std::optional<QString> TrackTableModel::cellText(int row, int column) const
{
    const TrackList *tracks = m_session.tracks().get();
    requireRow(row, bool(tracks));
    if (column == number)
        return QString::number(row + 1);
    const Track &track = *tracks->at(row);
    if (column == disc)
        return track.discNumber() ? std::optional(QString::number(*track.discNumber())) : std::nullopt;
    return column == title ? track.title() : track.artist();
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
    return ControllerTableModel::columnCount(parent) - (severalDiscs ? 0 : 1);
}
