#include "cli/MaskArguments.h"

std::optional<MaskArguments> MaskArguments::parse(const QStringList &args, QString *error)
{
    MaskArguments parsed;
    bool haveMask = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnded || !arg.startsWith(u'-') || arg == u"-") {
            parsed.files.append(arg);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--mask") {
            if (++i == args.size()) {
                *error = QStringLiteral("--mask needs a value");
                return std::nullopt;
            }
            parsed.mask = args.at(i);
            haveMask = true;
        } else if (arg.startsWith(QStringLiteral("--mask="))) {
            parsed.mask = arg.mid(7);
            haveMask = true;
        } else {
            *error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return std::nullopt;
        }
    }
    if (!haveMask) {
        *error = QStringLiteral("--mask MASK is required");
        return std::nullopt;
    }
    if (parsed.files.isEmpty()) {
        *error = QStringLiteral("no FILE given");
        return std::nullopt;
    }
    return parsed;
}
