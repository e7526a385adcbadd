#pragma once

#include <QCommandLineParser>

// tagwright-cli tag --auto: identifies each album among the paths and tags those whose best
// release scores at least --min-score, in that release's pairing and with its cover; the rest
// are listed on standard error with their best candidates and left as they are.
namespace AutoTag {

// The exit status: 0 when every album was tagged or passed over, 1 when any was left or a
// file failed, 2 for a usage error, 130 when stopped by Ctrl+C.
int run(const QCommandLineParser &parsed);

} // namespace AutoTag
