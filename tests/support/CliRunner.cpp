#include "support/CliRunner.h"

#include "support/TestPaths.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

CliResult runCliWith(const QStringList &arguments, const CliInvocation &invocation)
{
    QProcess process;
    if (invocation.inChild)
        process.setChildProcessModifier(invocation.inChild);
    if (!invocation.workingDirectory.isEmpty())
        process.setWorkingDirectory(invocation.workingDirectory);
    QProcessEnvironment environment = invocation.environment;
    // In the sanitizer build, LeakSanitizer's tracer crashes while scanning the program's
    // thread-local storage once Qt's image plugins are loaded (it then fails the run with
    // no leak found); memory errors are still caught, leaks are checked in the test programs.
    if (!environment.contains(QStringLiteral("LSAN_OPTIONS")))
        environment.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(binDir() + QStringLiteral("/tagwright-cli"), arguments);
    process.write(invocation.input);
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

QProcessEnvironment serviceEnvironment(const QStringList &entries, const QString &configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &key : environment.keys()) {
        if (key.startsWith(QStringLiteral("TAGWRIGHT_")))
            environment.remove(key);
    }
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    for (const QString &entry : entries)
        environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    return environment;
}

CliResult runCliAgainstService(const QStringList &arguments, const QStringList &entries)
{
    QTemporaryDir config;
    CliInvocation invocation;
    invocation.environment = serviceEnvironment(entries, config.path());
    const CliResult result = runCliWith(arguments, invocation);
    EXPECT_FALSE(result.crashed);
    return result;
}

std::function<void()> fileSizeLimit(qint64 bytes, bool ignoreSignal)
{
    return [bytes, ignoreSignal] {
        const struct rlimit size{rlim_t(bytes), rlim_t(bytes)};
        ::setrlimit(RLIMIT_FSIZE, &size);
        const struct rlimit core{0, 0};
        ::setrlimit(RLIMIT_CORE, &core);
        ::signal(SIGXFSZ, ignoreSignal ? SIG_IGN : SIG_DFL);
    };
}
