#pragma once

#include <QString>
#include <QStringList>

// Turns the files and folders a user hands over (a drop, the command line, a file dialog)
// into the files they hold, and orders paths the way a person reads them. Reads the file
// system only, on any thread.
class FolderListing {
public:
    // Each path that is no folder as it is; each folder as every file beneath it, however
    // deep (hidden ones too). Links to folders are not followed, so a link that points back
    // up the tree cannot make the walk endless.
    static QStringList filesIn(const QStringList &paths);

    // Sorts paths folder by folder, with the numbers in names compared by value: "CD2" comes
    // after "CD1", "10 x.mp3" after "9 x.mp3", and a folder's files stay together.
    static void sortNaturally(QStringList &paths);
    // Whether path a comes before path b in that order.
    static bool naturallyBefore(const QString &a, const QString &b);
};
