#include "window/AlbumTableModel.h"

AlbumTableModel::AlbumTableModel(MainController &controller, const Session &session, QObject *parent)
    : ControllerTableModel(controller, session, TableOutlet::resultTableView,
                           {{QStringLiteral("artistName"), tr("Artist"), true},
                            {QStringLiteral("albumName"), tr("Album"), true},
                            {QStringLiteral("numberOfTracks"), tr("Tracks"), true},
                            {QStringLiteral("yearOfPublication"), tr("Year"), true},
                            {QStringLiteral("label"), tr("Label"), true},
                            {QStringLiteral("genre"), tr("Genre"), true},
                            {QStringLiteral("numberOfDiscs"), tr("Discs"), true}},
                           false, parent)
{
}

std::optional<QString> AlbumTableModel::cellText(int row, int column) const
{
    const ResultList *albums = m_session.albums().get();
    requireRow(row, bool(albums));
    const ResultEntry &album = *albums->at(row);
    switch (column) {
    case artistName: return album.artistName();
    case albumName: return album.albumName();
    case numberOfTracks: return QString::number(album.numberOfTracks());
    case yearOfPublication: return album.yearOfPublication();
    case label: return album.label();
    case genre: return album.genre();
    case numberOfDiscs: return QString::number(album.numberOfDiscs());
    }
    return std::nullopt;
}

void AlbumTableModel::setCellText(int row, int column, const QString &text)
{
    if (row >= 0 && row < m_session.rowCount(Session::List::albums))
        m_session.albums()->at(row)->setValue(text, columnIdentifier(column));
}
