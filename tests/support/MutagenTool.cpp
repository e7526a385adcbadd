#include "support/MutagenTool.h"

#include "support/TestPaths.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace MutagenTool {

namespace {

QByteArray run(const char *script, const QStringList &arguments, bool *ok)
{
    // The Debian interpreter, not whatever python3 comes first on PATH, has the module.
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                  : QStringLiteral("python3");
    QProcess process;
    process.start(python, QStringList{sourceDir() + QStringLiteral("/tests/files/") + QLatin1String(script)} + arguments);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!*ok)
        qWarning("%s failed: %s", script, process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

} // namespace

QJsonObject dump(const QString &path)
{
    bool ok = false;
    const QByteArray output = run("mutagen_tags.py", {QStringLiteral("dump"), path}, &ok);
    return ok ? QJsonDocument::fromJson(output).object() : QJsonObject();
}

QJsonObject textFrame(const char *id, const QStringList &text, int encoding)
{
    return {{"id", id}, {"text", QJsonArray::fromStringList(text)}, {"encoding", encoding}};
}

bool write(const QString &path, const QJsonObject &layout)
{
    bool ok = false;
    run("mutagen_tags.py", {QStringLiteral("write"), path, QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact))}, &ok);
    return ok;
}

QJsonObject readFormat(const QString &path)
{
    bool ok = false;
    const QByteArray output = run("audio_formats.py", {QStringLiteral("read"), path}, &ok);
    return ok ? QJsonDocument::fromJson(output).object() : QJsonObject();
}

bool addRippersTags(const QString &path)
{
    bool ok = false;
    run("audio_formats.py", {QStringLiteral("rip"), path}, &ok);
    return ok;
}

} // namespace MutagenTool
