#pragma once

#include "cli/CliCommand.h"

// The renaming mask option that preview and rename share.
inline const CliOption maskOption{
    QStringLiteral("mask"), QStringLiteral("MASK"),
    QStringLiteral("the renaming mask: %a album artist, %b album, %t title, %n track number\n"
                   "(two digits), %y year, %r track artist; \"/\" makes folders"),
    true};
