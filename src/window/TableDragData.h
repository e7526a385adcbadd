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
// Rows dragged inside the window: the table and the row numbers.
inline const QString rowDragType = QStringLiteral("MyPrivateTableViewDataType");
// A music library's tracks: an XML property list naming each track's file.
inline const QString trackDragType = QStringLiteral("CorePasteboardFlavorType 0x6974756E");

// Drag data for these rows of the given table.
QMimeData *rows(const void *table, const QList<int> &rows);
// A drop onto a table: the first accepted type the data carries and, for a row drag, its rows,
// ascending and without repeats.
struct Drop {
    QString type;
    QList<int> rows;
    bool movesRows() const { return type == rowDragType; }
};
// The drop the data makes onto this table, taking the accepted types in their order of
// preference; nothing when it carries none, or rows not dragged from this very table.
std::optional<Drop> dropOnto(const QMimeData *data, const QStringList &accepted, const void *table, int rowCount);
// The local files a drag of this type names, in its order; URLs naming no local file are left out.
QStringList localFiles(const QMimeData *data, const QString &type);

} // namespace TableDragData
