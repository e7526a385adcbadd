#include "support/MutagenTool.h"

#include "support/TestPaths.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace MutagenTool {

namespace {

QByteArray run(const QStringList &arguments, bool *ok)
{
    // The Debian interpreter, not whatever python3 comes first on PATH, has the module.
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                  : QStringLiteral("python3");
    QProcess process;
    process.start(python, QStringList{sourceDir() + QStringLiteral("/tests/files/mutagen_tags.py")} + arguments);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!*ok)
        qWarning("mutagen_tags.py failed: %s", process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

} // namespace

QJsonObject dump(const QString &path)
{
    bool ok = false;
    const QByteArray output = run({QStringLiteral("dump"), path}, &ok);
    return ok ? QJsonDocument::fromJson(output).object() : QJsonObject();
}

QJsonObject textFrame(const char *id, const QStringList &text, int encoding)
{
    return {{"id", id}, {"text", QJsonArray::fromStringList(text)}, {"encoding", encoding}};
}

bool write(const QString &path, const QJsonObject &layout)
{
    bool ok = false;
    run({QStringLiteral("write"), path, QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact))}, &ok);
    return ok;
}

} // namespace MutagenTool
