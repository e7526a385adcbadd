#pragma once

#include "window/SessionTableModel.h"

// The album table: one row per album found or entered. The first seven columns can be
// corrected; their identifiers are the album record's field names, so an edit is stored by
// name. What MusicBrainz tells releases apart by follows while a MusicBrainz album is listed,
// and how well each fits the files once Find album scored them.
class AlbumTableModel : public SessionTableModel {
    Q_OBJECT
public:
    enum Column {
        artistName, albumName, numberOfTracks, yearOfPublication, label, genre, numberOfDiscs,
        country, releaseDate, format, barcode, catalogNumber, releaseType, score
    };

    explicit AlbumTableModel(Session &session, QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = {}) const override;

protected:
    std::optional<QString> cellText(int row, int column) const override;
    QVariant cellData(int row, int column, int role) const override;
    void setCellText(int row, int column, const QString &text) override;
};
