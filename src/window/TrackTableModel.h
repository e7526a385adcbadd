#pragma once

#include "window/ControllerTableModel.h"

// The track table: the position of each track, counted from 1, then its title and artist.
// The position is not stored anywhere and cannot be edited; rows move by dragging.
class TrackTableModel : public ControllerTableModel {
    Q_OBJECT
public:
    enum Column { number, title, artist };

    TrackTableModel(MainController &controller, const Session &session, QObject *parent = nullptr);

    void setCellText(int row, int column, const QString &text) override;

protected:
    std::optional<QString> cellText(int row, int column) const override;
};
