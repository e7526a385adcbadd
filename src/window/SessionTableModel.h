#pragma once

#include "session/Session.h"

#include <QAbstractTableModel>
#include <optional>

// A table model over one of the session's lists: each subclass reads its list's cells, with
// its columns as an enum, and follows the session's signals. Rows dragged inside the table and
// files dropped on it go straight to the session.
class SessionTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString identifier; // the column's name in the layout, e.g. the album field it shows
        QString title;
        bool editable;
    };
    // Sorting key of a cell: numbers as numbers, texts as shown.
    static constexpr int SortRole = Qt::UserRole;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override { return m_acceptedTypes; }
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::MoveAction; }

    // The operation a drop of this data would be: copy, move, or none when refused.
    Qt::DropAction dropActionFor(const QMimeData *data) const;
    // Drag data for these rows, as the table writes it.
    QMimeData *rowsData(const QList<int> &rows) const;

    QString columnIdentifier(int column) const { return m_columns.value(column).identifier; }
    int columnIndex(const QString &identifier) const;
    Session::List list() const { return m_list; }

    // A cell's text, or nothing; a failure on the way (a row outside the list) is logged and
    // answers nothing, so the table goes on drawing its other cells.
    std::optional<QString> cellValue(int row, int column) const;

protected:
    // The types it accepts, in their order of preference: a drop carrying several is taken as
    // the first.
    SessionTableModel(Session &session, Session::List list, QList<Column> columns, QStringList acceptedTypes,
                      QObject *parent);

    // The cell's text; throws std::out_of_range for a row outside the list.
    virtual std::optional<QString> cellText(int row, int column) const = 0;
    // Other roles of a cell (sorting, icons, tooltips); nothing by default.
    virtual QVariant cellData(int row, int column, int role) const;
    // Stores an edited cell; an edit of a column that names no field changes nothing.
    virtual void setCellText(int row, int column, const QString &text);
    // Whether dropping rows onto this row (rather than between rows) means something.
    virtual bool takesDropOnto(int) const { return false; }
    // Throws std::out_of_range unless the list exists and holds the row.
    void requireRow(int row, bool listExists) const;

    // The list was replaced or changed in length: the view asks for everything again.
    void reloadData();
    // The rows changed in place: cells are redrawn and the selection stays.
    void refreshCells();

    Session &m_session;

private:
    Session::List m_list;
    QList<Column> m_columns;
    QStringList m_acceptedTypes;
};
