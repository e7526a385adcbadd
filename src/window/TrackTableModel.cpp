#include "window/TrackTableModel.h"

const QString TrackTableModel::numberColumn = QStringLiteral("Number");
const QString TrackTableModel::titleColumn = QStringLiteral("Title");
const QString TrackTableModel::artistColumn = QStringLiteral("Artist");

TrackTableModel::TrackTableModel(MainController &controller, QObject *parent)
    : ControllerTableModel(controller, TableOutlet::trackListView,
                           {{numberColumn, tr("No."), false},
                            {titleColumn, tr("Title"), true},
                            {artistColumn, tr("Artist"), true}},
                           true, parent)
{
}
