#include "lineup/Assignment.h"

#include <limits>

namespace {

// Rows ≤ columns: each row goes to a distinct column. Columns are numbered from 1 inside,
// column 0 standing for the row being added; potentials keep every reduced cost ≥ 0 and the
// cheapest augmenting path is grown one column at a time, as in Dijkstra's search.
QList<int> assignRows(const std::vector<double> &cost, int rows, int columns, bool transposed)
{
    const auto at = [&](int row, int column) {
        return transposed ? cost[size_t(column) * size_t(rows) + size_t(row)]
                          : cost[size_t(row) * size_t(columns) + size_t(column)];
    };
    constexpr double infinity = std::numeric_limits<double>::infinity();
    std::vector<double> rowPotential(size_t(rows) + 1, 0), columnPotential(size_t(columns) + 1, 0);
    std::vector<int> rowOfColumn(size_t(columns) + 1, 0), previousColumn(size_t(columns) + 1, 0);
    for (int row = 1; row <= rows; ++row) {
        rowOfColumn[0] = row;
        int column = 0;
        std::vector<double> slack(size_t(columns) + 1, infinity);
        std::vector<bool> used(size_t(columns) + 1, false);
        do {
            used[size_t(column)] = true;
            const int current = rowOfColumn[size_t(column)];
            double delta = infinity;
            int next = 0;
            for (int j = 1; j <= columns; ++j) {
                if (used[size_t(j)])
                    continue;
                const double reduced = at(current - 1, j - 1) - rowPotential[size_t(current)] - columnPotential[size_t(j)];
                if (reduced < slack[size_t(j)]) {
                    slack[size_t(j)] = reduced;
                    previousColumn[size_t(j)] = column;
                }
                if (slack[size_t(j)] < delta) {
                    delta = slack[size_t(j)];
                    next = j;
                }
            }
            for (int j = 0; j <= columns; ++j) {
                if (used[size_t(j)]) {
                    rowPotential[size_t(rowOfColumn[size_t(j)])] += delta;
                    columnPotential[size_t(j)] -= delta;
                } else {
                    slack[size_t(j)] -= delta;
                }
            }
            column = next;
        } while (rowOfColumn[size_t(column)] != 0);
        // Flip the path: each column on it takes the row of the column before it.
        do {
            const int before = previousColumn[size_t(column)];
            rowOfColumn[size_t(column)] = rowOfColumn[size_t(before)];
            column = before;
        } while (column != 0);
    }
    QList<int> columnOfRow(rows, -1);
    for (int j = 1; j <= columns; ++j) {
        if (rowOfColumn[size_t(j)] != 0)
            columnOfRow[rowOfColumn[size_t(j)] - 1] = j - 1;
    }
    return columnOfRow;
}

} // namespace

QList<int> cheapestAssignment(const std::vector<double> &cost, int rows, int columns)
{
    if (rows <= columns)
        return assignRows(cost, rows, columns, false);
    // More rows than columns: assign the columns, each to a row, and turn the answer round.
    const QList<int> rowOfColumn = assignRows(cost, columns, rows, true);
    QList<int> columnOfRow(rows, -1);
    for (int column = 0; column < columns; ++column)
        columnOfRow[rowOfColumn[column]] = column;
    return columnOfRow;
}
