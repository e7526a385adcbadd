#pragma once

#include <QStringList>

class JobControl;

// The audio files among the files and folders a user hands over (a drop, the command line, a
// file dialog), told by their content: folders are read to any depth, and a file is kept only
// when it holds audio Tagwright tags. A file handed over by name is always looked at; in a
// folder, only files named like audio files (in any letter case) are. Reads the files, so it
// runs off the window's thread.
struct AudioListing {
    QStringList files;   // in the order found
    QStringList refused; // looked at but missing, unreadable or holding no audio to tag; in path order

    // Reports files examined of all to the control, if any, and stops before the next file
    // once cancelled; what was not examined then is neither kept nor refused.
    static AudioListing of(const QStringList &paths, JobControl *control = nullptr);
};
