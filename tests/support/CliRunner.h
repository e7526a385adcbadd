#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>

// Runs the built tagwright-cli and collects what it printed.
struct CliResult {
    int exitCode = -1;
    bool crashed = false;   // ended by a signal
    QByteArray out;
    QByteArray err;

    QStringList outLines() const;
    QStringList errLines() const;
};

// Where and how the program runs: its input, its working folder, its environment, and
// `inChild`, run in the child between fork and exec (to set resource limits, signals).
struct CliInvocation {
    QByteArray input;
    std::function<void()> inChild;
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

CliResult runCliWith(const QStringList &arguments, const CliInvocation &invocation);

// For `inChild`: limits the size of files the child may write. Past it the kernel stops the
// write with SIGXFSZ, which ends the child, or, when the signal is ignored, fails the write.
std::function<void()> fileSizeLimit(qint64 bytes, bool ignoreSignal);
