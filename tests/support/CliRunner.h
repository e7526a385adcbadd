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

    QStringList outLines() const { return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts); }
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

// The environment of a run without the user's settings or TAGWRIGHT_* variables: the service
// entries ("NAME=value", as LocalCatalogue::environment() gives them) and settings kept in
// `configHome`.
QProcessEnvironment serviceEnvironment(const QStringList &entries, const QString &configHome);
// Runs the program in that environment with a settings folder of its own; fails the test
// when it crashed.
CliResult runCliAgainstService(const QStringList &arguments, const QStringList &entries = {});

// For `inChild`: limits the size of files the child may write. Past it the kernel stops the
// write with SIGXFSZ, which ends the child, or, when the signal is ignored, fails the write.
std::function<void()> fileSizeLimit(qint64 bytes, bool ignoreSignal);
