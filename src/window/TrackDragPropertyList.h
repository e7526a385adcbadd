#pragma once

#include <QByteArray>
#include <QStringList>

// Reads the XML property list of a music library's track drag: a dictionary whose entry
// "Tracks" holds one dictionary per track, each with the track's file URL under "Location".
class TrackDragPropertyList {
public:
    // The "Location" strings of the dragged tracks; empty when the data is no such list.
    static QStringList locations(const QByteArray &xml);
};
