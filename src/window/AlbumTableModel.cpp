#include "window/AlbumTableModel.h"

AlbumTableModel::AlbumTableModel(MainController &controller, QObject *parent)
    : ControllerTableModel(controller, TableOutlet::resultTableView,
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
