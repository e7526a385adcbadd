#include "window/FileTableModel.h"

#include "window/LengthText.h"
#include "window/TableDragData.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

FileTableModel::FileTableModel(Session &session, QObject *parent)
    : SessionTableModel(session, Session::List::files,
                        {{QStringLiteral("File"), tr("File"), false},
                         {QStringLiteral("Length"), tr("Length"), false},
                         {QStringLiteral("NewName"), tr("New name"), false}},
                        {TableDragData::fileNamesDragType, TableDragData::rowDragType, TableDragData::trackDragType},
                        parent)
{
    connect(&session, &Session::filesChanged, this, &FileTableModel::reloadData);
    connect(&session, &Session::filesEdited, this, &FileTableModel::refreshCells);
}

std::optional<QString> FileTableModel::cellText(int row, int column) const
{
    const std::optional<QStringList> &files = m_session.files();
    requireRow(row, bool(files));
    const QString &path = files->at(row);
    if (path.isEmpty())
        return QString();
    if (column == file)
        return QFileInfo(path).fileName();
    const FileFacts::Fact *facts = m_session.factsOf(path);
    if (!facts)
        return std::nullopt;
    if (column == length)
        return lengthText(facts->lengthMs);
    return facts->keepsName ? QStringLiteral("(%1)").arg(*facts->keepsName) : facts->newName;
}

QVariant FileTableModel::cellData(int row, int column, int role) const
{
    const QString &path = m_session.files()->at(row);
    const std::optional<QString> failure = path.isEmpty() ? std::nullopt : m_session.failureOf(path);
    // Assistive tools read the tooltip as the cell's description: an empty slot and a
    // failure mark say what they are.
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        if (path.isEmpty())
            return tr("Track %1 has no file: drop one here").arg(row + 1);
        return failure && column == file ? *failure : path;
    }
    if (role == Qt::DecorationRole && column == file && failure)
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    return {};
}

bool FileTableModel::takesDropOnto(int row) const
{
    const std::optional<QStringList> &files = m_session.files();
    return files && row >= 0 && row < files->size() && files->at(row).isEmpty();
}
