#pragma once

#include "session/Session.h"
#include "window/WindowSurface.h"

#include <QAbstractTableModel>
#include <optional>

class MainController;

// A table model over one of the session's lists: each subclass reads its list's cells, with
// its columns as an enum; drags and drops go to the controller, which edits the session.
class ControllerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString identifier;  // the column's name in the layout, e.g. the album field it shows
        QString title;
        bool editable;
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

    // The operation a drop of this data would be: copy, move, or none when refused.
    Qt::DropAction dropActionFor(const QMimeData *data) const;

    QString columnIdentifier(int column) const;
    int columnIndex(const QString &identifier) const;
    TableOutlet table() const { return m_table; }

    // A cell's text, or nothing; a failure on the way (a row outside the list) is logged and
    // answers nothing, so the table goes on drawing its other cells.
    std::optional<QString> cellValue(int row, int column) const;
    // Stores an edited cell; an edit of a column that names no field changes nothing.
    virtual void setCellText(int row, int column, const QString &text);

    // The list was replaced or changed in length: the view asks for everything again.
    void reloadData();
    // The rows changed in place: cells are redrawn and the selection stays.
    void refreshCells();

protected:
    ControllerTableModel(MainController &controller, const Session &session, TableOutlet table,
                         QList<Column> columns, bool rowsDraggable, QObject *parent);

    // The cell's text; throws std::out_of_range for a row outside the list.
    virtual std::optional<QString> cellText(int row, int column) const = 0;
    Session::List list() const;
    // Throws std::out_of_range unless the list exists and holds the row.
    void requireRow(int row, bool listExists) const;

    MainController &m_controller;
    const Session &m_session;

private:
    TableOutlet m_table;
    QList<Column> m_columns;
    bool m_rowsDraggable;
};
