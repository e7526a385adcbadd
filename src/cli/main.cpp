#include "cli/CliCommand.h"
#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>

namespace {

QList<CliCommand> &registry()
{
    static QList<CliCommand> commands;
    return commands;
}

const CliCommand *findCommand(const QString &name)
{
    for (const CliCommand &command : cliCommands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

void printHelp(QTextStream &out)
{
    out << "Usage: tagwright-cli COMMAND [OPTIONS] [ARGUMENTS]\n\n"
           "Searches the album catalogue and tags, renames and untags audio files (MP3, FLAC, Ogg Vorbis, Opus, MP4).\n"
           "Status lines go to standard error as they are posted; results go to standard output.\n\n"
           "Commands:\n";
    for (const CliCommand &command : cliCommands()) {
        out << "  " << CommandLine::synopsis(command) << "\n";
        for (const QString &line : command.description.split(u'\n'))
            out << "      " << line << "\n";
        out << "\n";
    }
    out << "  help [COMMAND], --help, COMMAND --help\n      Prints this text, or a command's options.\n\n"
           "  --version\n      Prints the program's version.\n";
}

int unknownCommand(const QString &name)
{
    QTextStream(stderr) << "tagwright-cli: unknown command \"" << name << "\"; see tagwright-cli --help\n";
    return 2;
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

    // Only the options before the command are the program's own; the rest are the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOptions({helpOption, versionOption});
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.parse(app.arguments())) {
        // The program's own options take no value, so only an unknown one fails here.
        const QStringList unknown = parser.unknownOptionNames();
        err << "tagwright-cli: "
            << (unknown.isEmpty() ? parser.errorText() : QStringLiteral("unknown option \"%1\"").arg(CommandLine::dashed(unknown.first())))
            << "; see tagwright-cli --help\n";
        return 2;
    }
    if (parser.isSet(versionOption)) {
        out << "tagwright-cli " << TAGWRIGHT_VERSION << "\n";
        return 0;
    }
    QStringList args = parser.positionalArguments();
    if (parser.isSet(helpOption)) {
        printHelp(out);
        return 0;
    }
    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == u"help") {
        if (args.isEmpty()) {
            printHelp(out);
            return 0;
        }
        const CliCommand *command = findCommand(args.first());
        if (!command)
            return unknownCommand(args.first());
        out << CommandLine::help(*command);
        return 0;
    }
    const CliCommand *command = findCommand(name);
    return command ? CommandLine::run(*command, args) : unknownCommand(name);
}
