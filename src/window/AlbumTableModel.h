#pragma once

#include "window/ControllerTableModel.h"

// The album table: one row per album found or entered, every column editable. The column
// identifiers are the album record's field names, so an edit is stored by name.
class AlbumTableModel : public ControllerTableModel {
    Q_OBJECT
public:
    AlbumTableModel(MainController &controller, QObject *parent = nullptr);
};
