#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// One sub-command of tagwright-cli. Each command's source file registers itself with a
// static CliCommandRegistration, so main() dispatches and prints help without knowing them.
struct CliCommand {
    QString name;
    QString synopsis;      // e.g. "search [--store de|com|co.uk|fr] KEYWORDS..."
    QString description;   // several lines: what it does, each option
    std::function<int(const QStringList &args)> run;  // args after the command name
};

const QList<CliCommand> &cliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command);
};
