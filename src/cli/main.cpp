#include "cli/CliCommand.h"

#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>

namespace {

QList<CliCommand> &registry()
{
    static QList<CliCommand> commands;
    return commands;
}

void printHelp(QTextStream &out)
{
    out << "Usage: tagwright-cli COMMAND [OPTIONS] [ARGUMENTS]\n\n"
           "Searches the album catalogue and tags, renames and untags MP3 files.\n"
           "Status lines go to standard error as they are posted; results go to standard output.\n\n"
           "Commands:\n";
    for (const CliCommand &command : cliCommands()) {
        out << "  " << command.synopsis << "\n";
        for (const QString &line : command.description.split(u'\n'))
            out << "      " << line << "\n";
        out << "\n";
    }
    out << "  help, --help\n      Prints this text.\n";
}

} // namespace

const QList<CliCommand> &cliCommands()
{
    return registry();
}

CliCommandRegistration::CliCommandRegistration(CliCommand command)
{
    auto &commands = registry();
    commands.append(std::move(command));
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
}

int main(int argc, char *argv[])
{
    // QGuiApplication is not needed: images are decoded and encoded without a display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tagwright"));
    QCoreApplication::setApplicationName(QStringLiteral("Tagwright"));

    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == u"help" || name == u"--help" || name == u"-h") {
        printHelp(out);
        return 0;
    }
    for (const CliCommand &command : cliCommands()) {
        if (command.name == name)
            return command.run(args);
    }
    err << "tagwright-cli: unknown command \"" << name << "\"; see tagwright-cli --help\n";
    return 2;
}
