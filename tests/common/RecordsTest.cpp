#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"
#include "search/IntValue.h"

#include <gtest/gtest.h>

TEST(IntValue, FollowsTheLeadingIntegerRule)
{
    EXPECT_EQ(intValue(QStringLiteral(" 12 tracks")), 12);
    EXPECT_EQ(intValue(QStringLiteral("\t\n+7x")), 7);
    EXPECT_EQ(intValue(QStringLiteral("-3")), -3);
    EXPECT_EQ(intValue(QStringLiteral("abc 5")), 0);
    EXPECT_EQ(intValue(QString()), 0);
    EXPECT_EQ(intValue(QStringLiteral("-")), 0);
    EXPECT_EQ(intValue(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(intValue(QStringLiteral("2147483648")), 2147483647);
    EXPECT_EQ(intValue(QStringLiteral("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(intValue(QStringLiteral("-99999999999999999999999")), -2147483647 - 1);
    EXPECT_EQ(intValue(QStringLiteral("0003")), 3);
}

TEST(NotificationCenter, DeliversSynchronouslyToObserversOfTheName)
{
    QStringList seen;
    int sender = 0;
    {
        ScopedObserver observer(QVStatusChangedNotification,
                                [&](const QString &, const void *from, const QVariantMap &info) {
                                    EXPECT_EQ(from, &sender);
                                    seen << info.value(QVStatusKey).toString();
                                });
        postStatusChange(&sender, QStringLiteral("one"));
        EXPECT_EQ(seen, QStringList{QStringLiteral("one")});
        NotificationCenter::defaultCenter().post(QStringLiteral("Other"), &sender, {});
        EXPECT_EQ(seen.size(), 1);
    }
    postStatusChange(&sender, QStringLiteral("after removal"));
    EXPECT_EQ(seen.size(), 1);
}
