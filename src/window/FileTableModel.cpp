#include "window/FileTableModel.h"

#include "window/MainController.h"

FileTableModel::FileTableModel(MainController &controller, QObject *parent)
    : ControllerTableModel(controller, TableOutlet::fileListView,
                           {{QStringLiteral("File"), tr("File"), false}}, true, parent)
{
}

QVariant FileTableModel::data(const QModelIndex &index, int role) const
{
    const std::optional<QStringList> &songs = m_controller.songs();
    if (role == Qt::ToolTipRole && index.isValid() && songs && index.row() < songs->size())
        return songs->at(index.row());
    return ControllerTableModel::data(index, role);
}
