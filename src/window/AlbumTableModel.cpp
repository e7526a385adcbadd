#include "window/AlbumTableModel.h"

#include "session/StatusText.h"

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
                         {QStringLiteral("releaseType"), tr("Type"), false},
                         {QStringLiteral("score"), tr("Score"), false}},
                        {}, parent)
{
    connect(&session, &Session::albumsChanged, this, &AlbumTableModel::reloadData);
    connect(&session, &Session::albumsEdited, this, &AlbumTableModel::refreshCells);
}

int AlbumTableModel::columnCount(const QModelIndex &parent) const
{
    const ResultList *albums = m_session.albums().get();
    if (parent.isValid())
        return 0;
    const auto any = [albums](const auto &test) { return albums && std::any_of(albums->begin(), albums->end(), test); };
    if (any([this](const auto &album) { return m_session.scoreOf(*album).has_value(); }))
        return SessionTableModel::columnCount(parent);
    return any([](const auto &album) { return album->id().has_value(); }) ? score : country;
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
    case score: {
        const std::optional<double> fit = m_session.scoreOf(album);
        return fit ? std::optional(StatusText::score(*fit)) : std::nullopt;
    }
    }
    return std::nullopt;
}

QVariant AlbumTableModel::cellData(int row, int column, int role) const
{
    // Counts and scores sort as numbers: 9 before 10.
    if (role != SortRole || (column != numberOfTracks && column != numberOfDiscs && column != score))
        return {};
    const ResultEntry &album = *m_session.albums()->at(row);
    if (column == score)
        return m_session.scoreOf(album).value_or(-1);
    return column == numberOfTracks ? album.numberOfTracks() : album.numberOfDiscs();
}

void AlbumTableModel::setCellText(int row, int column, const QString &text)
{
    if (row >= 0 && row < m_session.rowCount(Session::List::albums))
        m_session.albums()->at(row)->setValue(text, columnIdentifier(column));
}
