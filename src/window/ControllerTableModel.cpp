#include "window/ControllerTableModel.h"

#include "common/ExceptionName.h"
#include "window/MainController.h"

#include <QDebug>
#include <QMimeData>

ControllerTableModel::ControllerTableModel(MainController &controller, const Session &session, TableOutlet table,
                                           QList<Column> columns, bool rowsDraggable, QObject *parent)
    : QAbstractTableModel(parent), m_controller(controller), m_session(session), m_table(table),
      m_columns(std::move(columns)), m_rowsDraggable(rowsDraggable)
{
}

Session::List ControllerTableModel::list() const
{
    switch (m_table) {
    case TableOutlet::resultTableView: return Session::List::albums;
    case TableOutlet::trackListView: return Session::List::tracks;
    case TableOutlet::fileListView: break;
    }
    return Session::List::files;
}

int ControllerTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_session.rowCount(list());
}

std::optional<QString> ControllerTableModel::cellValue(int row, int column) const
{
    try {
        return cellText(row, column);
    } catch (const std::exception &exception) {
        qWarning().noquote() << QStringLiteral("MainController:tableView:objectValueForTableColumn:row: Caught %1: %2")
                                    .arg(exceptionName(exception), QString::fromUtf8(exception.what()));
    }
    return std::nullopt;
}

void ControllerTableModel::requireRow(int row, bool listExists) const
{
    if (!listExists)
        throw std::out_of_range(QStringLiteral("row %1 of a table without a list").arg(row).toStdString());
    if (row < 0 || row >= rowCount())
        throw std::out_of_range(
            QStringLiteral("row %1 outside a list of %2 entries").arg(row).arg(rowCount()).toStdString());
}

void ControllerTableModel::setCellText(int, int, const QString &) {}

int ControllerTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ControllerTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const std::optional<QString> value = cellValue(index.row(), index.column());
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
    if (index.row() >= rowCount() || m_controller.jobRunning())
        return false;
    setCellText(index.row(), index.column(), value.toString());
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

int ControllerTableModel::columnIndex(const QString &identifier) const
{
    for (int column = 0; column < m_columns.size(); ++column)
        if (m_columns.at(column).identifier == identifier)
            return column;
    return -1;
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
