#include "support/CliRunner.h"

#include "support/TestPaths.h"

#include <QProcess>

CliResult runCli(const QStringList &arguments, const QByteArray &input, const std::function<void()> &inChild)
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(binDir() + QStringLiteral("/tagwright-cli"), arguments);
    process.write(input);
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(120000))
        process.kill();
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}
