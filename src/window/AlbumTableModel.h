#pragma once

#include "window/ControllerTableModel.h"

// The album table: one row per album found or entered, every column editable. The column
// identifiers are the album record's field names, so an edit is stored by name.
class AlbumTableModel : public ControllerTableModel {
    Q_OBJECT
public:
    enum Column { artistName, albumName, numberOfTracks, yearOfPublication, label, genre, numberOfDiscs };

    AlbumTableModel(MainController &controller, const Session &session, QObject *parent = nullptr);

    void setCellText(int row, int column, const QString &text) override;

protected:
    std::optional<QString> cellText(int row, int column) const override;
};
