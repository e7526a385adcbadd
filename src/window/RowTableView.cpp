#include "window/RowTableView.h"

#include "window/ControllerTableModel.h"

#include <QDropEvent>
#include <QHeaderView>

RowTableView::RowTableView(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
}

void RowTableView::dragMoveEvent(QDragMoveEvent *event)
{
    QTableView::dragMoveEvent(event);
    applyDropAction(event, modelDropAction(event));
}

void RowTableView::dropEvent(QDropEvent *event)
{
    // Decided before the drop, which may start a job that refuses any further drop.
    const Qt::DropAction action = modelDropAction(event);
    QTableView::dropEvent(event);
    applyDropAction(event, action);
}

Qt::DropAction RowTableView::modelDropAction(const QDropEvent *event) const
{
    const auto *tableModel = qobject_cast<const ControllerTableModel *>(model());
    return tableModel ? tableModel->dropActionFor(event->mimeData()) : Qt::IgnoreAction;
}

void RowTableView::applyDropAction(QDropEvent *event, Qt::DropAction action)
{
    if (!event->isAccepted())
        return;
    if (action != Qt::IgnoreAction && (event->possibleActions() & action)) {
        event->setDropAction(action);
        event->accept();
    }
}
