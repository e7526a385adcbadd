#pragma once

#include "window/SessionTableModel.h"

// The track table: each track's number on its disc, title, artist and length, and the disc
// it is on while some track on show is on a disc past the first. The number is not stored
// anywhere and cannot be edited; rows move by dragging.
class TrackTableModel : public SessionTableModel {
    Q_OBJECT
public:
    enum Column { number, title, artist, length, disc };

    explicit TrackTableModel(Session &session, QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = {}) const override;

protected:
    std::optional<QString> cellText(int row, int column) const override;
    void setCellText(int row, int column, const QString &text) override;
};
