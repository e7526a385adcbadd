#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <functional>

// An option of a sub-command: with a value, given as "--NAME VALUE" or "--NAME=VALUE", or a
// switch without one ("--NAME") when it names no value.
struct CliOption {
    QString name;        // the long name without the dashes
    QString valueName;   // the value's name in the help, e.g. "MASK"; empty for a switch
    QString description; // one or more lines for the help
    bool required = false;
};

// One sub-command of tagwright-cli: its options and positional arguments, declared here and
// read by one shared parser before run() is called. Each command's source file registers
// itself with a static CliCommandRegistration, so main() dispatches and prints help
// without knowing them.
struct CliCommand {
    QString name;
    QString description;      // several lines: what it does
    QList<CliOption> options; // in the order the synopsis shows them
    QString arguments;        // the positional arguments' syntax, e.g. "FILE..."; at least one is needed,
                              // and none is taken where it is empty
    QString noArguments;      // the usage error when none is given, e.g. "no MP3 files given"
    // Called with every declared option and the positional arguments it takes present.
    std::function<int(const QCommandLineParser &parsed)> run;
};

const QList<CliCommand> &cliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command);
};
