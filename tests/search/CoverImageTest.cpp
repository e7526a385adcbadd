#include "search/CoverImage.h"

#include <gtest/gtest.h>

TEST(CoverImage, RefusesGarbageAndOversizedPictures)
{
    EXPECT_FALSE(decodeCoverImage(QByteArray()).has_value());
    EXPECT_FALSE(decodeCoverImage("<html>not a picture</html>").has_value());
    // Headers that announce huge pictures: refused before any pixel memory is taken.
    EXPECT_FALSE(decodeCoverImage("P5\n20001 10\n255\n").has_value());
    EXPECT_FALSE(decodeCoverImage("P5\n6000 6000\n255\n").has_value());
    QByteArray small("P5\n2 2\n255\n");
    small.append("\x01\x02\x03\x04");
    EXPECT_TRUE(decodeCoverImage(small).has_value());
}
