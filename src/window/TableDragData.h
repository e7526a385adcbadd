#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QMimeData;

// The drag data the window's tables write and read: rows dragged inside one window, and the
// local files named by a file manager's or a music library's drag.
namespace TableDragData {

// Local file URLs.
inline const QString fileNamesDragType = QStringLiteral("text/uri-list");
// Rows dragged inside the window: the window, the table and the row numbers.
inline const QString rowDragType = QStringLiteral("MyPrivateTableViewDataType");
// A music library's tracks: an XML property list naming each track's file.
inline const QString trackDragType = QStringLiteral("CorePasteboardFlavorType 0x6974756E");

// Drag data for these rows of the given table of the given window.
QMimeData *rows(const void *window, int table, const QList<int> &rows);
// The rows of a row drag when they come from this very table and lie inside its list of
// rowCount rows, ascending and without repeats.
std::optional<QList<int>> rowsFor(const QMimeData *data, const void *window, int table, int rowCount);
// The first of these types, in their order of preference, that the data carries; empty when none.
QString firstCarried(const QMimeData *data, const QStringList &types);
// The local files a drag of this type names, in its order; URLs naming no local file are left out.
QStringList localFiles(const QMimeData *data, const QString &type);

} // namespace TableDragData
