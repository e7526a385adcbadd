// Running a long operation on the worker and hearing of it on the owner's thread.
#include "common/JobRunner.h"
#include "common/QueuedObserver.h"

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
    }
    // Every event must arrive on the owner's thread.
    void record(const QString &event) { events.append(QThread::currentThread() == app.thread() ? event : "elsewhere"); }
    NotificationCenter::Handler recorder()
    {
        return [this](const QString &, const void *, const QVariantMap &info) { record(info.value("line").toString()); };
    }

    int argc = 1;
    char name[5] = "test";
    char *argv[1] = {name};
    QCoreApplication app{argc, argv};
    NotificationCenter center;
    JobRunner runner;
    QStringList events;
    QueuedObserver observer{"status", &runner, recorder(), center};
};

} // namespace

TEST_F(JobRunnerTest, ProgressAndStatusReachTheOwnersThreadInOrderBeforeFinished)
{
    ASSERT_TRUE(runner.start([&](JobControl &control) {
        for (int i = 1; i <= 3; ++i) {
            control.reportProgress(i, 3);
            center.post("status", nullptr, {{"line", QThread::currentThread() == app.thread() ? "here" : "worker"}});
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

    // A queued observer destroyed before its queued post is delivered never runs.
    auto gone = std::make_unique<QueuedObserver>("late", &runner, recorder(), center);
    std::thread([this] { center.post("late", nullptr, {{"line", "late"}}); }).join();
    gone.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(events.size(), 2);
}
