#include "window/ControllerTableModel.h"

#include "window/MainController.h"

#include <QMimeData>

ControllerTableModel::ControllerTableModel(MainController &controller, TableOutlet table,
                                           QList<Column> columns, bool rowsDraggable, QObject *parent)
    : QAbstractTableModel(parent), m_controller(controller), m_table(table),
      m_columns(std::move(columns)), m_rowsDraggable(rowsDraggable)
{
}

int ControllerTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_controller.numberOfRowsInTableView(m_table);
}

int ControllerTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ControllerTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const std::optional<QString> value =
        m_controller.objectValueForTableColumn(m_table, columnIdentifier(index.column()), index.row());
    return value ? QVariant(*value) : QVariant();
}

QVariant ControllerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ControllerTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    m_controller.setObjectValue(m_table, value.toString(), columnIdentifier(index.column()), index.row());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags ControllerTableModel::flags(const QModelIndex &index) const
{
    // Drops go between rows or below the last one, never onto a row.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_columns.value(index.column()).editable)
        flags |= Qt::ItemIsEditable;
    if (m_rowsDraggable)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList ControllerTableModel::mimeTypes() const
{
    return m_controller.draggedTypes(m_table);
}

QMimeData *ControllerTableModel::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && !rows.contains(index.row()))
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return m_controller.writeRowsWithIndexes(m_table, rows);
}

bool ControllerTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int,
                                           const QModelIndex &) const
{
    return dropActionFor(data) != Qt::IgnoreAction;
}

bool ControllerTableModel::dropMimeData(const QMimeData *data, Qt::DropAction, int row, int,
                                        const QModelIndex &parent)
{
    // Qt gives -1 for a drop below the last row and a parent for a drop onto a row.
    if (row < 0)
        row = parent.isValid() ? parent.row() : rowCount();
    return m_controller.acceptDrop(m_table, data, row);
}

Qt::DropActions ControllerTableModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions ControllerTableModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropAction ControllerTableModel::dropActionFor(const QMimeData *data) const
{
    return data ? m_controller.validateDrop(m_table, data) : Qt::IgnoreAction;
}

QString ControllerTableModel::columnIdentifier(int column) const
{
    return m_columns.value(column).identifier;
}

void ControllerTableModel::reloadData()
{
    beginResetModel();
    endResetModel();
}

void ControllerTableModel::refreshCells()
{
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}
