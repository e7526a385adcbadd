#pragma once

#include "window/ControllerTableModel.h"

// The track table: the position of each track, counted from 1, then its title and artist.
// The position is not stored anywhere and cannot be edited; rows move by dragging.
class TrackTableModel : public ControllerTableModel {
    Q_OBJECT
public:
    static const QString numberColumn;
    static const QString titleColumn;
    static const QString artistColumn;

    TrackTableModel(MainController &controller, QObject *parent = nullptr);
};
