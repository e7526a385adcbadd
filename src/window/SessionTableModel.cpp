#include "window/SessionTableModel.h"

#include "common/ExceptionName.h"
#include "window/TableDragData.h"

#include <QDebug>
#include <QMimeData>

SessionTableModel::SessionTableModel(Session &session, Session::List list, QList<Column> columns,
                                     QStringList acceptedTypes, QObject *parent)
    : QAbstractTableModel(parent), m_session(session), m_list(list), m_columns(std::move(columns)),
      m_acceptedTypes(std::move(acceptedTypes))
{
}

int SessionTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_session.rowCount(m_list);
}

int SessionTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

std::optional<QString> SessionTableModel::cellValue(int row, int column) const
{
    try {
        return cellText(row, column);
    } catch (const std::exception &exception) {
        qWarning().noquote() << QStringLiteral("MainController:tableView:objectValueForTableColumn:row: Caught %1: %2")
                                    .arg(exceptionName(exception), QString::fromUtf8(exception.what()));
    }
    return std::nullopt;
}

void SessionTableModel::requireRow(int row, bool listExists) const
{
    if (!listExists)
        throw std::out_of_range(QStringLiteral("row %1 of a table without a list").arg(row).toStdString());
    if (row < 0 || row >= rowCount())
        throw std::out_of_range(
            QStringLiteral("row %1 outside a list of %2 entries").arg(row).arg(rowCount()).toStdString());
}

QVariant SessionTableModel::cellData(int, int, int) const
{
    return {};
}

void SessionTableModel::setCellText(int, int, const QString &) {}

QVariant SessionTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != SortRole)
        return index.row() < rowCount() ? cellData(index.row(), index.column(), role) : QVariant();
    if (role == SortRole) {
        if (QVariant key = cellData(index.row(), index.column(), role); key.isValid())
            return key;
    }
    const std::optional<QString> value = cellValue(index.row(), index.column());
    return value ? QVariant(*value) : QVariant();
}

QVariant SessionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool SessionTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount() || m_session.isBusy())
        return false;
    setCellText(index.row(), index.column(), value.toString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags SessionTableModel::flags(const QModelIndex &index) const
{
    // Drops go between rows or below the last one; onto a row only where that means something.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_columns.value(index.column()).editable)
        flags |= Qt::ItemIsEditable;
    if (m_acceptedTypes.contains(TableDragData::rowDragType))
        flags |= Qt::ItemIsDragEnabled;
    if (takesDropOnto(index.row()))
        flags |= Qt::ItemIsDropEnabled;
    return flags;
}

QMimeData *SessionTableModel::rowsData(const QList<int> &rows) const
{
    return TableDragData::rows(this, rows);
}

QMimeData *SessionTableModel::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && !rows.contains(index.row()))
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rowsData(rows);
}

Qt::DropAction SessionTableModel::dropActionFor(const QMimeData *data) const
{
    if (!data || m_session.isBusy())
        return Qt::IgnoreAction;
    const std::optional<TableDragData::Drop> drop = TableDragData::dropOnto(data, m_acceptedTypes, this, rowCount());
    return !drop ? Qt::IgnoreAction : drop->movesRows() ? Qt::MoveAction : Qt::CopyAction;
}

bool SessionTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int, const QModelIndex &) const
{
    return dropActionFor(data) != Qt::IgnoreAction;
}

bool SessionTableModel::dropMimeData(const QMimeData *data, Qt::DropAction, int row, int, const QModelIndex &parent)
{
    if (!data || m_session.isBusy())
        return false;
    const std::optional<TableDragData::Drop> drop = TableDragData::dropOnto(data, m_acceptedTypes, this, rowCount());
    if (!drop)
        return false;
    // Qt gives -1 for a drop below the last row and a parent for a drop onto a row.
    const bool onto = row < 0 && parent.isValid();
    if (row < 0)
        row = onto ? parent.row() : rowCount();
    if (row > rowCount())
        return false;
    // Files always go in after the last row; the list is sorted by path anyway.
    if (drop->movesRows())
        m_session.moveRows(m_list, drop->rows, row, onto && takesDropOnto(row));
    else
        m_session.addFiles(TableDragData::localFiles(data, drop->type));
    return true;
}

int SessionTableModel::columnIndex(const QString &identifier) const
{
    for (int column = 0; column < m_columns.size(); ++column)
        if (m_columns.at(column).identifier == identifier)
            return column;
    return -1;
}

void SessionTableModel::reloadData()
{
    beginResetModel();
    endResetModel();
}

void SessionTableModel::refreshCells()
{
    const int rows = rowCount();
    if (rows > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}
