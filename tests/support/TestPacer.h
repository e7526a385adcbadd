#pragma once

#include "search/musicbrainz/RequestPacer.h"
#include "support/FakeClock.h"

#include <QTemporaryDir>

// A request pacer with a pace file and a clock of its own, so that a test neither waits on
// the real clock nor shares the pace of the user's programs.
struct TestPacer {
    QTemporaryDir dir;
    FakeClock clock;
    RequestPacer pacer{dir.filePath(QStringLiteral("pace")), clock};
};
