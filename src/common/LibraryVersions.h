#pragma once

#include <QString>
#include <QStringList>

// Which version of Tagwright this is and which libraries it runs on, with their versions, as
// the About box and the command lines' --version tell them.
class LibraryVersions {
public:
    // "0.1.0"
    static QString application();
    // "Qt 6.4.2", "TagLib 1.13.0", "libcurl 7.88.1", "pugixml 1.13", "cpp-httplib 0.11.4":
    // Qt and libcurl as loaded at run time, the others as built against.
    static QStringList libraries();
};
