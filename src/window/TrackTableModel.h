#pragma once

#include "window/ControllerTableModel.h"

// The track table: the position of each track, counted from 1, then its title and artist, and
// the disc it is on while some track on show is on a disc past the first. The position is not
// stored anywhere and cannot be edited; rows move by dragging.
class TrackTableModel : public ControllerTableModel {
    Q_OBJECT
public:
    enum Column { number, title, artist, disc };

    TrackTableModel(MainController &controller, const Session &session, QObject *parent = nullptr);

    void setCellText(int row, int column, const QString &text) override;
    int columnCount(const QModelIndex &parent = {}) const override;

protected:
    std::optional<QString> cellText(int row, int column) const override;
};
