#include "search/HttpFetcher.h"
#include "support/LocalCatalogue.h"
#include "support/TemporaryCatalogue.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(HttpFetcher, RefusesAUrlWithoutAHostBeforeAnyLookUp)
{
    // libcurl alone would take "localhost" for the host here and connect to it.
    HttpFetcher fetcher;
    for (const QString &url : {QStringLiteral("http:///localhost:1/onca/soap?Signature=x"),
                               QStringLiteral("http:/localhost:1/x"), QStringLiteral("http://:1/x")})
        EXPECT_EQ(fetcher.fetch(url).failure, FetchFailure::NoHost) << url.toStdString();
    EXPECT_EQ(fetcher.fetch(QStringLiteral("http://127.0.0.1:1/x")).failure, FetchFailure::ConnectionRefused);
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

    // The most connections that may serve the covers side by side under each set of bounds.
    FetchLimits standard;
    FetchLimits manyPerHost;
    manyPerHost.maxConnectionsPerHost = 100;
    FetchLimits fewBytes;
    fewBytes.maxBytesHeld = 3 * fewBytes.maxBodyBytes;
    const QList<std::pair<FetchLimits, int>> cases{{standard, 6}, {manyPerHost, 16}, {fewBytes, 3}};
    qsizetype logged = 0;
    for (const auto &[limits, connections] : cases) {
        SCOPED_TRACE(connections);
        HttpFetcher fetcher(limits);
        QSet<HttpFetcher::TransferId> ids;
        for (int i = 0; i < 100; ++i)
            ids.insert(fetcher.start(service.baseUrl() + QStringLiteral("/images/%1.jpg").arg(i)));
        int fetched = 0;
        while (const auto done = fetcher.next()) {
            EXPECT_TRUE(ids.remove(done->first));
            EXPECT_TRUE(done->second.succeeded());
            fetched += done->second.body.size() >= 1000;
        }
        EXPECT_EQ(fetched, 100);
        QSet<int> ports;
        const QList<QJsonObject> lines = service.logLines();
        for (qsizetype i = logged; i < lines.size(); ++i)
            ports.insert(lines[i][u"clientPort"].toInt());
        logged = lines.size();
        EXPECT_LE(ports.size(), connections);
    }
}
