#include "CatalogueRequests.h"
#include "catalogue/CatalogueServer.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

CatalogueServerOptions optionsFor(const QString &root)
{
    CatalogueServerOptions options;
    options.root = root;
    return options;
}

} // namespace

TEST(CatalogueServer, StartsOnAFreePortAndReportsWhyItCannot)
{
    TemporaryCatalogue catalogue;
    CatalogueServer first(optionsFor(catalogue.path()));
    QString error;
    ASSERT_TRUE(first.start(&error)) << error.toStdString();
    EXPECT_NE(first.port(), 0);

    CatalogueServerOptions samePort = optionsFor(catalogue.path());
    samePort.port = first.port();
    CatalogueServer second(samePort);
    EXPECT_FALSE(second.start(&error));
    EXPECT_TRUE(error.contains(QString::number(first.port()))) << error.toStdString();

    CatalogueServer missingRoot(optionsFor(catalogue.path() + QStringLiteral("/missing")));
    EXPECT_FALSE(missingRoot.start(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist"))) << error.toStdString();
}

TEST(CatalogueServer, StopEndsAHangingAnswer)
{
    TemporaryCatalogue catalogue;
    catalogue.addFault(QStringLiteral("Slow"), 1, "hang");
    CatalogueServerOptions options = optionsFor(catalogue.path());
    options.logFile = catalogue.path() + QStringLiteral("/requests.jsonl");
    CatalogueServer server(options);
    ASSERT_TRUE(server.start(nullptr));

    const QString url = placeholderSearchUrl(QStringLiteral("127.0.0.1:%1").arg(server.port()), QStringLiteral("Slow"));
    HttpAnswer answer;
    std::thread client([&] { answer = httpGet(url, {{}, 120000}); });
    // The request is logged before its fault strikes.
    QFile log(options.logFile);
    for (int wait = 0; wait < 3000 && log.size() == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GT(log.size(), 0);

    server.stop();
    client.join();
    EXPECT_NE(answer.result, CURLE_OK);
    EXPECT_NE(answer.result, CURLE_OPERATION_TIMEDOUT);
    EXPECT_EQ(answer.bytesReceived, 0);
}

TEST(CatalogueProgram, ExplainsBadArguments)
{
    const auto run = [](const QStringList &arguments) {
        QProcess program;
        program.start(binDir() + QStringLiteral("/tagwright-catalogue"), arguments);
        program.waitForFinished(30000);
        return std::make_pair(program.exitCode(), QString::fromUtf8(program.readAllStandardError()));
    };
    auto [code, message] = run({});
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(message.contains(QStringLiteral("--root"))) << message.toStdString();

    std::tie(code, message) = run({QStringLiteral("--root"), QStringLiteral("/nonexistent/catalogue")});
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(message.contains(QStringLiteral("/nonexistent/catalogue"))) << message.toStdString();

    std::tie(code, message) = run({QStringLiteral("--root"), sourceDir(), QStringLiteral("--secret"), QStringLiteral("x")});
    EXPECT_EQ(code, 2);
    std::tie(code, message) = run({QStringLiteral("--root"), sourceDir(), QStringLiteral("--port"), QStringLiteral("70000")});
    EXPECT_EQ(code, 2);
}
