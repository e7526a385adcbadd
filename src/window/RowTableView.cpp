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
    applyModelDropAction(event);
}

void RowTableView::dropEvent(QDropEvent *event)
{
    QTableView::dropEvent(event);
    applyModelDropAction(event);
}

void RowTableView::applyModelDropAction(QDropEvent *event)
{
    const auto *tableModel = qobject_cast<const ControllerTableModel *>(model());
    if (!tableModel || !event->isAccepted())
        return;
    const Qt::DropAction action = tableModel->dropActionFor(event->mimeData());
    if (action != Qt::IgnoreAction && (event->possibleActions() & action)) {
        event->setDropAction(action);
        event->accept();
    }
}
