#pragma once

#include "window/SessionTableModel.h"

// The file table, row for row beside the track table: the name of the audio file that takes the
// track beside it (an empty slot for a track without a file), then the files that pair with
// no track; each file's length and the name renaming would give it. A file the last command
// could not change carries a warning sign and the reason. Nothing in it is editable; files
// move by dragging (onto a slot, or between rows) and enter by dropping.
class FileTableModel : public SessionTableModel {
    Q_OBJECT
public:
    enum Column { file, length, newName };

    explicit FileTableModel(Session &session, QObject *parent = nullptr);

protected:
    std::optional<QString> cellText(int row, int column) const override;
    QVariant cellData(int row, int column, int role) const override;
    bool takesDropOnto(int row) const override;
};
