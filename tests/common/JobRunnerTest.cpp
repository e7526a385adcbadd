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
                         [this](qint64 done, qint64 total) { record(QStringLiteral("progress %1/%2").arg(done).arg(total)); });
        QObject::connect(&runner, &JobRunner::finished, [this] { record(QStringLiteral("finished")); });
    }
    void record(const QString &event)
    {
        EXPECT_EQ(QThread::currentThread(), app.thread()) << event.toStdString();
        events.append(event);
    }

    int argc = 1;
    char name[5] = "test";
    char *argv[1] = {name};
    QCoreApplication app{argc, argv};
    NotificationCenter center;
    JobRunner runner;
    QStringList events;
    QueuedObserver observer{QStringLiteral("status"), &runner,
                            [this](const QString &, const void *, const QVariantMap &info) {
                                record(info.value("line").toString());
                            },
                            center};
};

} // namespace

TEST_F(JobRunnerTest, ProgressAndStatusReachTheOwnersThreadInOrderBeforeFinished)
{
    Qt::HANDLE workerThread = nullptr;
    ASSERT_TRUE(runner.start([&](JobControl &control) {
        workerThread = QThread::currentThreadId();
        for (int i = 1; i <= 3; ++i) {
            control.reportProgress(i, 3);
            center.post(QStringLiteral("status"), nullptr, {{"line", QStringLiteral("status %1").arg(i)}});
        }
    }));
    EXPECT_TRUE(events.isEmpty()); // nothing is delivered outside the owner's event loop
    QEventLoop loop;
    QObject::connect(&runner, &JobRunner::finished, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_NE(workerThread, QThread::currentThreadId());
    EXPECT_EQ(events, QStringList({"progress 1/3", "status 1", "progress 2/3", "status 2", "progress 3/3",
                                   "status 3", "finished"}));
    EXPECT_FALSE(runner.isBusy());
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
    EXPECT_TRUE(runner.isBusy());
    runner.cancel();
    runner.waitForFinished();
    EXPECT_EQ(events, QStringList{"finished"});
    EXPECT_FALSE(secondRan);
    ASSERT_TRUE(runner.start(second));
    runner.waitForFinished();
    EXPECT_TRUE(secondRan);
}

TEST_F(JobRunnerTest, AQueuedObserverGoneBeforeDeliveryNeverRuns)
{
    auto gone = std::make_unique<QueuedObserver>(QStringLiteral("late"), &runner,
                                                 [this](const QString &, const void *, const QVariantMap &) { record("late"); },
                                                 center);
    std::thread([this] { center.post(QStringLiteral("late"), nullptr, {}); }).join();
    gone.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(events.isEmpty());
}
