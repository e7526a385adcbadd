#pragma once

#include <QList>
#include <QSet>

// List edits behind row moves and row deletion in the window's tables.

// Whether every row lies inside a list of the given size.
inline bool rowsInside(const QList<int> &rows, qsizetype size)
{
    for (int row : rows)
        if (row < 0 || row >= size)
            return false;
    return true;
}

// Moves the given rows, in ascending order, to the insertion point dropRow, counted in the
// list as it was before the move (the row the user saw while dragging). Rows and dropRow
// must lie inside the list (dropRow may equal its size).
template <typename T>
void moveRows(QList<T> &list, const QList<int> &rows, int dropRow)
{
    const QSet<int> moving(rows.cbegin(), rows.cend());
    QList<T> before, moved, after;
    for (int row = 0; row < list.size(); ++row) {
        if (moving.contains(row))
            moved.append(list.at(row));
        else if (row < dropRow)
            before.append(list.at(row));
        else
            after.append(list.at(row));
    }
    list = before + moved + after;
}

// Removes the given rows; rows outside the list are passed over.
template <typename T>
void removeRows(QList<T> &list, const QList<int> &rows)
{
    const QSet<int> removing(rows.cbegin(), rows.cend());
    QList<T> kept;
    for (int row = 0; row < list.size(); ++row)
        if (!removing.contains(row))
            kept.append(list.at(row));
    list = kept;
}
