#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The arguments of the commands that work by a renaming mask: "--mask MASK" (or
// "--mask=MASK") and one or more files; "--" ends the options.
struct MaskArguments {
    QString mask;
    QStringList files;

    // The parsed arguments, or nothing with a one-line reason in error.
    static std::optional<MaskArguments> parse(const QStringList &args, QString *error);
};
