#include "album/IntValue.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

TEST(IntValue, FollowsTheLeadingIntegerRule)
{
    // Leading blanks and a sign are read, the digits end at the first other character, and
    // values past the int range stop at its ends.
    const QList<std::pair<QString, int>> cases{
        {" 12 tracks", 12}, {"\t\n+7x", 7}, {"-3", -3}, {"abc 5", 0}, {QString(), 0}, {"-", 0}, {"0003", 3},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999999", -2147483647 - 1}};
    for (const auto &[text, value] : cases)
        EXPECT_EQ(intValue(text), value) << text.toStdString();
}
