#pragma once

#include "cli/CliCommand.h"

#include <QStringList>

// The shared reading of a sub-command's arguments: "--" ends the options, "--help" prints
// the command's help, and a usage error is one line on standard error with exit status 2.
namespace CommandLine {

// "search [--store de|com|co.uk|fr] KEYWORDS...", from the command's declarations.
QString synopsis(const CliCommand &command);

// The command's usage, description and options.
QString help(const CliCommand &command);

// How an option that the parser names without its dashes was typed: "-x" or "--name".
QString dashed(const QString &name);

// Parses the arguments after the command name and runs the command; the exit status.
int run(const CliCommand &command, const QStringList &args);

} // namespace CommandLine
