#include "search/HttpFetcher.h"
#include "search/SearchOutcome.h"
#include "support/LocalCatalogue.h"
#include "support/TemporaryCatalogue.h"

#include <QMap>
#include <algorithm>
#include <gtest/gtest.h>
#include <httplib.h>
#include <thread>

TEST(HttpFetcher, RefusesAUrlWithoutAHostBeforeAnyLookUp)
{
    // libcurl alone would take "localhost" for the host of the first and connect to it.
    for (const char *url : {"http:///localhost:1/onca/soap?Signature=x", "http:/localhost:1/x", "http://:1/x"})
        EXPECT_EQ(HttpFetcher().fetch(QLatin1String(url)).failure, FetchFailure::NoHost) << url;
}

TEST(HttpFetcher, HundredCoversUseFewConnectionsAndBoundedBytes)
{
    TemporaryCatalogue catalogue;
    for (int i = 0; i < 100; ++i)
        catalogue.addImage(QStringLiteral("%1.jpg").arg(i), QByteArray(1000 + i, 'x'));
    LocalCatalogueOptions slow;
    slow.latencyMs = 20;
    LocalCatalogue service(catalogue.path(), slow);
    ASSERT_TRUE(service.isRunning());

    // The most covers that may be fetched side by side under each set of bounds. A connection
    // carries one request at a time, so the requests answered at once never exceed the
    // connections open at once (a connection the service closed may be replaced).
    FetchLimits standard;
    FetchLimits fewBytes;
    fewBytes.maxBytesHeld = 3 * fewBytes.maxBodyBytes;
    const QList<std::pair<FetchLimits, int>> cases{{standard, 6}, {fewBytes, 3}};
    qsizetype logged = 0;
    for (const auto &[limits, connections] : cases) {
        SCOPED_TRACE(connections);
        HttpFetcher fetcher(limits);
        QMap<HttpFetcher::TransferId, int> sizes;
        for (int i = 0; i < 100; ++i)
            sizes.insert(fetcher.start(service.baseUrl() + QStringLiteral("/images/%1.jpg").arg(i)), 1000 + i);
        while (const auto done = fetcher.next())
            EXPECT_EQ(done->second.body.size(), sizes.take(done->first));
        EXPECT_TRUE(sizes.isEmpty());
        int mostAtOnce = 0;
        const QList<QJsonObject> lines = service.logLines();
        for (qsizetype i = logged; i < lines.size(); ++i)
            mostAtOnce = std::max(mostAtOnce, lines[i][u"concurrent"].toInt());
        logged = lines.size();
        EXPECT_LE(mostAtOnce, connections);
    }
}

TEST(HttpFetcher, FailuresNameTheHostThatFailedWithoutUserInformation)
{
    // Nothing listens on port 1 of the loopback address: connections to it are refused.
    const QString closed = QStringLiteral("127.0.0.1:1");
    httplib::Server server;
    server.Get("/redirect", [&](const httplib::Request &, httplib::Response &response) {
        response.set_redirect(QStringLiteral("http://%1/x").arg(closed).toStdString());
    });
    server.Get("/long-header", [](const httplib::Request &, httplib::Response &response) {
        response.set_header("X-Long", std::string(1024 * 1024, 'a'));
    });
    server.Get("/many-headers", [](const httplib::Request &, httplib::Response &response) {
        for (int i = 0; i < 2000; ++i)
            response.set_header("X-" + std::to_string(i), std::string(100, 'a'));
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&server] { server.listen_after_bind(); });
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    const QString refused = QStringLiteral("could not connect to %1 (connection refused)").arg(closed);
    const QString header = QStringLiteral("the service sent a header larger than 100 KiB");
    const QList<std::pair<QString, QString>> cases{
        {"http://user:secret@" + closed + "/x", refused}, {base + "/redirect", refused},
        {base + "/long-header", header}, {base + "/many-headers", header},
    };
    for (const auto &[url, reason] : cases)
        EXPECT_EQ(PageFailure::fetchFailed(1, HttpFetcher().fetch(url), shownHost(url)).reason.toStdString(), reason.toStdString());
    EXPECT_EQ(shownUrl("http://user:secret@" + closed + "/x?q"), "http://" + closed + "/x?q");
    server.stop();
    serving.join();
}
