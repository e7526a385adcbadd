#pragma once

#include "album/ResultEntry.h"

#include <QString>
#include <memory>
#include <optional>

// What looking one album up brought: the album with its tracks (and cover, when it has one),
// or why there is none, in words a user can act on (no final full stop).
struct LookupOutcome {
    std::shared_ptr<ResultEntry> album; // null when the look-up failed or was cancelled
    std::optional<QString> failure;
};
