#include "window/TrackTableModel.h"

TrackTableModel::TrackTableModel(MainController &controller, const Session &session, QObject *parent)
    : ControllerTableModel(controller, session, TableOutlet::trackListView,
                           {{QStringLiteral("Number"), tr("No."), false},
                            {QStringLiteral("Title"), tr("Title"), true},
                            {QStringLiteral("Artist"), tr("Artist"), true}},
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
