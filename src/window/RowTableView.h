#pragma once

#include <QTableView>

// A table view whose drops end with the operation its model names: copy for files
// (so a file manager never deletes what was dropped), move for rows dragged inside it.
class RowTableView : public QTableView {
    Q_OBJECT
public:
    explicit RowTableView(QWidget *parent = nullptr);

    // The text shown in place of rows while the table has none; none when empty.
    void setPlaceholderText(const QString &text);
    const QString &placeholderText() const { return m_placeholder; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The operation the model names for the event's data; none without a table model.
    Qt::DropAction modelDropAction(const QDropEvent *event) const;
    void applyDropAction(QDropEvent *event, Qt::DropAction action);

    QString m_placeholder;
};
