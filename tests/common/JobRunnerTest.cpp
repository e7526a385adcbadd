// Running a long operation on the worker and hearing of it on the owner's thread.
#include "common/JobRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class JobRunnerTest : public ::testing::Test {
protected:
    JobRunnerTest()
    {
        QObject::connect(&runner, &JobRunner::progressChanged,
                         [this](qint64 done, qint64 total) { record(QStringLiteral("%1/%2").arg(done).arg(total)); });
        QObject::connect(&runner, &JobRunner::finished, [this] { record(QStringLiteral("finished")); });
        // Said on the worker; the runner as context takes it to the owner's thread.
        QObject::connect(&runner, &JobRunner::statusReported, &runner, [this](const QString &line) { record(line); });
    }
    // Every event must arrive on the owner's thread.
    void record(const QString &event) { events.append(QThread::currentThread() == app.thread() ? event : "elsewhere"); }

    int argc = 1;
    char name[5] = "test";
    char *argv[1] = {name};
    QCoreApplication app{argc, argv};
    JobRunner runner;
    QStringList events;
};

} // namespace

TEST_F(JobRunnerTest, ProgressAndStatusReachTheOwnersThreadInOrderBeforeFinished)
{
    ASSERT_TRUE(runner.start([&](JobControl &control) {
        for (int i = 1; i <= 3; ++i) {
            control.reportProgress(i, 3);
            control.reportStatus(QThread::currentThread() == app.thread() ? "here" : "worker");
        }
    }));
    EXPECT_TRUE(events.isEmpty()); // nothing arrives outside the owner's event loop
    QEventLoop loop;
    QObject::connect(&runner, &JobRunner::finished, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(events, QStringList({"1/3", "worker", "2/3", "worker", "3/3", "worker", "finished"}));
}

TEST_F(JobRunnerTest, CancelStopsALoopingJobAndABusyRunnerRefusesAnother)
{
    bool secondRan = false;
    const JobRunner::Job second = [&](JobControl &) { secondRan = true; };
    ASSERT_TRUE(runner.start([](JobControl &control) {
        while (!control.cancelRequested())
            QThread::yieldCurrentThread();
    }));
    EXPECT_FALSE(runner.start(second));
    runner.cancel();
    runner.waitForFinished();
    EXPECT_EQ(events, QStringList{"finished"});
    ASSERT_TRUE(!secondRan && runner.start(second));
    runner.waitForFinished();
    EXPECT_TRUE(secondRan);
}
