#pragma once

#include <QStringList>

class JobControl;

// The MP3 files among the files and folders a user hands over (a drop, the command line, a
// file dialog): folders are read to any depth, and every file named as an MP3 file (in any
// letter case) is opened and kept only when MPEG audio is found in it. Files named otherwise
// are passed over. Reads the files, so it runs off the window's thread.
struct Mp3Listing {
    QStringList files;   // in the order found
    QStringList refused; // named as MP3 files, but missing, unreadable or holding no MPEG audio; in path order

    // Reports files examined of all to the control, if any, and stops before the next file
    // once cancelled; what was not examined then is neither kept nor refused.
    static Mp3Listing of(const QStringList &paths, JobControl *control = nullptr);
};
