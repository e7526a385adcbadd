#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"
#include "search/IntValue.h"
#include "search/ResultEntry.h"

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

TEST(ResultEntry, StartsAbsentAndSetsFieldsByKey)
{
    ResultEntry entry;
    EXPECT_FALSE(entry.artistName() || entry.albumName() || entry.asinNumber() || entry.yearOfPublication()
                 || entry.genre() || entry.label() || entry.cover());
    EXPECT_EQ(entry.numberOfDiscs(), 0);
    EXPECT_EQ(entry.numberOfTracks(), 0);
    EXPECT_EQ(entry.trackList(), nullptr);

    EXPECT_TRUE(entry.setValue(QStringLiteral(" 12 songs"), QStringLiteral("numberOfTracks")));
    EXPECT_EQ(entry.numberOfTracks(), 12);
    entry.setValue(QStringLiteral("-3"), QStringLiteral("numberOfDiscs"));
    EXPECT_EQ(entry.numberOfDiscs(), -3);
    entry.setValue(QString(), QStringLiteral("genre"));
    ASSERT_TRUE(entry.genre().has_value());
    EXPECT_TRUE(entry.genre()->isEmpty());
    EXPECT_FALSE(entry.setValue(QStringLiteral("x"), QStringLiteral("cover")));
    EXPECT_FALSE(entry.setValue(QStringLiteral("x"), QStringLiteral("asinNumber")));
    EXPECT_FALSE(entry.asinNumber().has_value());

    QString source = QStringLiteral("Artist");
    entry.setArtistName(source);
    source.append(QStringLiteral(" changed"));
    EXPECT_EQ(entry.artistName(), QStringLiteral("Artist"));
}

TEST(ResultEntry, SharesItsTrackListWithEveryHolder)
{
    ResultEntry entry;
    auto list = std::make_shared<TrackList>();
    entry.setTrackList(list);
    entry.setNumberOfTracks(0);
    auto track = std::make_shared<Track>();
    list->append(track);
    ASSERT_EQ(entry.trackList()->size(), 1);
    track->setTitle(QStringLiteral("Edited"));
    EXPECT_EQ(entry.trackList()->at(0)->title(), QStringLiteral("Edited"));
    list->removeFirst();
    EXPECT_TRUE(entry.trackList()->isEmpty());
    EXPECT_EQ(entry.numberOfTracks(), 0);
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
