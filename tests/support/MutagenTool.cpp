#include "support/MutagenTool.h"

#include "support/TestPaths.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <optional>

namespace MutagenTool {

namespace {

// What the script printed; nothing when it failed.
std::optional<QByteArray> run(const char *script, const QStringList &arguments)
{
    // The Debian interpreter, not whatever python3 comes first on PATH, has the module.
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                  : QStringLiteral("python3");
    QProcess process;
    process.start(python, QStringList{sourceDir() + QStringLiteral("/tests/files/") + QLatin1String(script)} + arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return process.readAllStandardOutput();
    qWarning("%s failed: %s", script, process.readAllStandardError().constData());
    return std::nullopt;
}

} // namespace

QJsonObject dump(const QString &path)
{
    return QJsonDocument::fromJson(run("mutagen_tags.py", {QStringLiteral("dump"), path}).value_or(QByteArray())).object();
}

QJsonObject textFrame(const char *id, const QStringList &text, int encoding)
{
    return {{"id", id}, {"text", QJsonArray::fromStringList(text)}, {"encoding", encoding}};
}

bool write(const QString &path, const QJsonObject &layout)
{
    const QString json = QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact));
    return run("mutagen_tags.py", {QStringLiteral("write"), path, json}).has_value();
}

QJsonObject readFormat(const QString &path)
{
    return QJsonDocument::fromJson(run("audio_formats.py", {QStringLiteral("read"), path}).value_or(QByteArray())).object();
}

bool addRippersTags(const QString &path)
{
    return run("audio_formats.py", {QStringLiteral("rip"), path}).has_value();
}

} // namespace MutagenTool
