#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

// Runs the built tagwright-cli and collects what it printed.
struct CliResult {
    int exitCode = -1;
    bool crashed = false;   // ended by a signal
    QByteArray out;
    QByteArray err;
};

// `inChild` runs in the child between fork and exec (to set resource limits, signals).
CliResult runCli(const QStringList &arguments, const QByteArray &input = {},
                 const std::function<void()> &inChild = {});
