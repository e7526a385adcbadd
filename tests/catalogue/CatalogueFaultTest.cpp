#include "CatalogueRequests.h"
#include "support/LocalCatalogue.h"
#include "support/TemporaryCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

const QByteArray page = itemSearchAnswer({QStringLiteral("<Item><ASIN>B000000001</ASIN></Item>")});

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed memory in quarantine (up to 256 MiB), so the resident size
// says nothing about what the service holds; the transfer still runs under its checks.
constexpr bool residentSizeTellsUsage = false;
constexpr qint64 hugeTransfer = qint64(32) << 20;
#else
constexpr bool residentSizeTellsUsage = true;
constexpr qint64 hugeTransfer = qint64(256) << 20;
#endif

qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression rss(QStringLiteral("VmRSS:\\s+([0-9]+) kB"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

class CatalogueFaults : public ::testing::Test {
protected:
    static TemporaryCatalogue makeCatalogue()
    {
        TemporaryCatalogue catalogue;
        catalogue.addPage(QStringLiteral("Faults"), 1, page);
        catalogue.addFault(QStringLiteral("Faults"), 2, "hang");
        catalogue.addFault(QStringLiteral("Faults"), 3, "huge");
        return catalogue;
    }

    HttpAnswer fetch(int pageNumber, HttpGetOptions getOptions = {})
    {
        return httpGet(placeholderSearchUrl(service.host(), QStringLiteral("Faults"), QString::number(pageNumber)),
                       getOptions);
    }

    void expectStillServing()
    {
        const HttpAnswer answer = fetch(1);
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(answer.body, page);
    }

    TemporaryCatalogue catalogue = makeCatalogue();
    LocalCatalogue service{catalogue.path()};
};

} // namespace

TEST_F(CatalogueFaults, HangNeverAnswersAndEndsWhenTheClientLeaves)
{
    ASSERT_TRUE(service.isRunning());
    // More hanging requests than the service has workers: unless each hang ends when its
    // client gives up, the request after them would never be served.
    constexpr int hangingClients = 80;
    std::vector<HttpAnswer> answers(hangingClients);
    std::vector<std::thread> clients;
    for (int i = 0; i < hangingClients; ++i) {
        clients.emplace_back([this, &answers, i] {
            HttpGetOptions impatient;
            impatient.timeoutMs = 500;
            answers[size_t(i)] = fetch(2, impatient);
        });
    }
    for (std::thread &client : clients)
        client.join();
    for (const HttpAnswer &answer : answers) {
        EXPECT_EQ(answer.result, CURLE_OPERATION_TIMEDOUT);
        EXPECT_EQ(answer.bytesReceived, 0);
    }
    expectStillServing();
}

TEST_F(CatalogueFaults, HugeSendsAnEndlessBodyWithoutGrowing)
{
    ASSERT_TRUE(service.isRunning());
    expectStillServing();
    const qint64 before = residentKiB(service.processId());

    HttpGetOptions capped;
    capped.abortAfter = hugeTransfer;
    capped.keepAtMost = 64;
    const HttpAnswer answer = fetch(3, capped);
    EXPECT_EQ(answer.result, CURLE_WRITE_ERROR);
    EXPECT_GE(answer.bytesReceived, capped.abortAfter);
    EXPECT_TRUE(answer.body.startsWith("<?xml"));

    // The body is made as it is sent: the service holds a block of it, never the whole.
    const qint64 after = residentKiB(service.processId());
    ASSERT_GT(before, 0);
    if (residentSizeTellsUsage) {
        EXPECT_LT(after - before, 64 * 1024) << "resident KiB before " << before << ", after " << after;
    }
    expectStillServing();
}
