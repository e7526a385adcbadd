#include "window/RowTableView.h"

#include "window/SessionTableModel.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QPainter>

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

void RowTableView::setPlaceholderText(const QString &text)
{
    m_placeholder = text;
    // Assistive tools cannot see the painted text; they read it as the table's description.
    setAccessibleDescription(text);
    viewport()->update();
}

void RowTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_placeholder.isEmpty() || (model() && model()->rowCount() > 0))
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
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
    const auto *tableModel = qobject_cast<const SessionTableModel *>(model());
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
