#pragma once

#include "window/ControllerTableModel.h"

// The file table: the name of each listed audio file, its full path as tooltip. Nothing in
// it is editable; rows move by dragging and files enter by dropping.
class FileTableModel : public ControllerTableModel {
    Q_OBJECT
public:
    FileTableModel(MainController &controller, const Session &session, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;

protected:
    std::optional<QString> cellText(int row, int column) const override;
};
