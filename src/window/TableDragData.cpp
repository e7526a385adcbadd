#include "window/TableDragData.h"

#include "session/RowEdits.h"
#include "window/TrackDragPropertyList.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace {

// The local file a dragged URL names. Music players write "file://localhost/..." for
// "file:///..."; a file URL naming another host is a network share, no local file.
std::optional<QString> localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    QUrl local(url);
    if (local.host() == u"localhost")
        local.setHost(QString());
    if (!local.host().isEmpty())
        return std::nullopt;
    return local.toLocalFile();
}

// The rows of a row drag when they come from this very table and lie inside its list of
// rowCount rows, ascending and without repeats.
std::optional<QList<int>> rowsFor(const QMimeData *data, const void *table, int rowCount)
{
    QDataStream stream(data->data(TableDragData::rowDragType));
    quint64 source = 0;
    QList<int> rows;
    stream >> source >> rows;
    // Rows are positions in the table they were dragged from; in any other list they
    // would name other entries, or none.
    if (stream.status() != QDataStream::Ok || source != quint64(reinterpret_cast<quintptr>(table))
        || rows.isEmpty() || !rowsInside(rows, rowCount))
        return std::nullopt;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// The first of these types, in their order of preference, that the data carries; empty when none.
QString firstCarried(const QMimeData *data, const QStringList &types)
{
    for (const QString &type : types)
        if (data->hasFormat(type))
            return type;
    return QString();
}

} // namespace

namespace TableDragData {

QMimeData *rows(const void *table, const QList<int> &rows)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << quint64(reinterpret_cast<quintptr>(table)) << rows;
    auto *data = new QMimeData;
    data->setData(rowDragType, bytes);
    return data;
}

QStringList localFiles(const QMimeData *data, const QString &type)
{
    QList<QUrl> urls;
    if (type == fileNamesDragType) {
        urls = data->urls();
    } else {
        for (const QString &location : TrackDragPropertyList::locations(data->data(trackDragType)))
            urls.append(QUrl(location));
    }
    QStringList files;
    for (const QUrl &url : urls)
        if (const std::optional<QString> path = localPath(url))
            files.append(*path);
    return files;
}

std::optional<Drop> dropOnto(const QMimeData *data, const QStringList &accepted, const void *table, int rowCount)
{
    Drop drop{firstCarried(data, accepted), {}};
    if (drop.type.isEmpty())
        return std::nullopt;
    if (drop.movesRows()) {
        std::optional<QList<int>> rows = rowsFor(data, table, rowCount);
        if (!rows)
            return std::nullopt;
        drop.rows = std::move(*rows);
    }
    return drop;
}

} // namespace TableDragData
