#pragma once

#include "window/WindowSurface.h"

#include <QAbstractTableModel>

class MainController;

// A table model that answers every question of its table view by asking the controller,
// which owns the lists. One subclass per table gives the columns.
class ControllerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString identifier;  // what the controller knows the column by
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
    TableOutlet table() const { return m_table; }

    // The list was replaced or changed in length: the view asks for everything again.
    void reloadData();
    // The rows changed in place: cells are redrawn and the selection stays.
    void refreshCells();

protected:
    ControllerTableModel(MainController &controller, TableOutlet table, QList<Column> columns,
                         bool rowsDraggable, QObject *parent);

    MainController &m_controller;

private:
    TableOutlet m_table;
    QList<Column> m_columns;
    bool m_rowsDraggable;
};
