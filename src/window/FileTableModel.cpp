#include "window/FileTableModel.h"

#include <QFileInfo>

FileTableModel::FileTableModel(MainController &controller, const Session &session, QObject *parent)
    : ControllerTableModel(controller, session, TableOutlet::fileListView,
                           {{QStringLiteral("File"), tr("File"), false}}, true, parent)
{
}

QVariant FileTableModel::data(const QModelIndex &index, int role) const
{
    const std::optional<QStringList> &files = m_session.files();
    if (role == Qt::ToolTipRole && index.isValid() && files && index.row() < files->size())
        return files->at(index.row());
    return ControllerTableModel::data(index, role);
}

std::optional<QString> FileTableModel::cellText(int row, int) const
{
    const std::optional<QStringList> &files = m_session.files();
    requireRow(row, bool(files));
    return QFileInfo(files->at(row)).fileName();
}
