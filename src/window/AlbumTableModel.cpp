#include "window/AlbumTableModel.h"

#include <algorithm>

AlbumTableModel::AlbumTableModel(Session &session, QObject *parent)
    : SessionTableModel(session, Session::List::albums,
                        {{QStringLiteral("artistName"), tr("Artist"), true},
                         {QStringLiteral("albumName"), tr("Album"), true},
                         {QStringLiteral("numberOfTracks"), tr("Tracks"), true},
                         {QStringLiteral("yearOfPublication"), tr("Year"), true},
                         {QStringLiteral("label"), tr("Label"), true},
                         {QStringLiteral("genre"), tr("Genre"), true},
                         {QStringLiteral("numberOfDiscs"), tr("Discs"), true},
                         {QStringLiteral("country"), tr("Country"), false},
                         {QStringLiteral("releaseDate"), tr("Date"), false},
                         {QStringLiteral("format"), tr("Format"), false},
                         {QStringLiteral("barcode"), tr("Barcode"), false},
                         {QStringLiteral("catalogNumber"), tr("Catalogue number"), false},
                         {QStringLiteral("releaseType"), tr("Type"), false}},
                        {}, parent)
{
    connect(&session, &Session::albumsChanged, this, &AlbumTableModel::reloadData);
    connect(&session, &Session::albumsEdited, this, &AlbumTableModel::refreshCells);
}

int AlbumTableModel::columnCount(const QModelIndex &parent) const
{
    const ResultList *albums = m_session.albums().get();
    const bool musicBrainz = albums && std::any_of(albums->begin(), albums->end(), [](const auto &album) {
        return album->id().has_value();
    });
    return musicBrainz ? SessionTableModel::columnCount(parent) : (parent.isValid() ? 0 : country);
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
    case country: return album.country();
    case releaseDate: return album.releaseDate();
    case format: return album.format();
    case barcode: return album.barcode();
    case catalogNumber: return album.catalogNumber();
    case releaseType: return album.releaseType();
    }
    return std::nullopt;
}

QVariant AlbumTableModel::cellData(int row, int column, int role) const
{
    // Counts sort as numbers: 9 before 10.
    if (role != SortRole || (column != numberOfTracks && column != numberOfDiscs))
        return {};
    const ResultEntry &album = *m_session.albums()->at(row);
    return column == numberOfTracks ? album.numberOfTracks() : album.numberOfDiscs();
}

void AlbumTableModel::setCellText(int row, int column, const QString &text)
{
    if (row >= 0 && row < m_session.rowCount(Session::List::albums))
        m_session.albums()->at(row)->setValue(text, columnIdentifier(column));
}
