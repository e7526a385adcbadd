#pragma once

#include <QList>
#include <vector>

// The assignment of least total cost in a rectangular cost matrix (rows × columns, given row
// by row): every row to its own column when there are no more rows than columns, else every
// column to its own row. Hungarian method with row and column potentials, O(n² m).
// The answer: for each row, its column, or -1 for a row left without one.
QList<int> cheapestAssignment(const std::vector<double> &cost, int rows, int columns);
