#include "cli/CommandLine.h"

#include <QTextStream>
#include <algorithm>
#include <utility>

namespace CommandLine {

namespace {

QString optionUsage(const CliOption &option)
{
    return option.valueName.isEmpty() ? QStringLiteral("--%1").arg(option.name)
                                      : QStringLiteral("--%1 %2").arg(option.name, option.valueName);
}

int usageError(const CliCommand &command, const QString &message)
{
    QTextStream(stderr) << "tagwright-cli " << command.name << ": " << message << "; see tagwright-cli "
                        << command.name << " --help\n";
    return 2;
}

} // namespace

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString synopsis(const CliCommand &command)
{
    QStringList parts{command.name};
    for (const CliOption &option : command.options)
        parts.append(option.required ? optionUsage(option) : u'[' + optionUsage(option) + u']');
    if (!command.arguments.isEmpty())
        parts.append(command.arguments);
    return parts.join(u' ');
}

QString help(const CliCommand &command)
{
    QList<std::pair<QString, QString>> rows;
    for (const CliOption &option : command.options)
        rows.append({optionUsage(option), option.description});
    if (!command.arguments.isEmpty())
        rows.append({QStringLiteral("--"), QStringLiteral("ends the options; every later argument is one of %1")
                                               .arg(command.arguments)});
    rows.append({QStringLiteral("-h, --help"), QStringLiteral("prints this text")});
    qsizetype width = 0;
    for (const auto &row : std::as_const(rows))
        width = std::max(width, row.first.size());

    QString text = QStringLiteral("Usage: tagwright-cli %1\n\n%2\n\nOptions:\n").arg(synopsis(command),
                                                                                   command.description);
    const QString indent(width + 5, u' ');
    for (const auto &[usage, description] : std::as_const(rows))
        text += QStringLiteral("  %1   %2\n").arg(usage.leftJustified(width),
                                                 description.split(u'\n').join(u'\n' + indent));
    return text;
}

int run(const CliCommand &command, const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    for (const CliOption &option : command.options)
        parser.addOption(option.valueName.isEmpty() ? QCommandLineOption(option.name, option.description)
                                                    : QCommandLineOption(option.name, option.description, option.valueName));

    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("tagwright-cli")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        QString error = unknown.isEmpty() ? parser.errorText()
                                          : QStringLiteral("unknown option \"%1\"").arg(dashed(unknown.first()));
        if (error.endsWith(u'.'))
            error.chop(1);
        return usageError(command, error);
    }
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << help(command);
        return 0;
    }
    for (const CliOption &option : command.options) {
        if (option.required && !parser.isSet(option.name))
            return usageError(command, QStringLiteral("%1 is required").arg(optionUsage(option)));
    }
    if (command.arguments.isEmpty() && !parser.positionalArguments().isEmpty())
        return usageError(command, QStringLiteral("takes no arguments"));
    if (!command.arguments.isEmpty() && parser.positionalArguments().isEmpty())
        return usageError(command, command.noArguments);
    return command.run(parser);
}

} // namespace CommandLine
