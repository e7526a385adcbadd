#include "files/RenamingMask.h"
#include "files/SongMetadata.h"

#include <gtest/gtest.h>

namespace {

QVariantMap song(const QString &title, const QString &trackNo = QStringLiteral("7"))
{
    return {{QVArtistAlbumTag, QStringLiteral("Band")},  {QVArtistTrackTag, QStringLiteral("Singer")},
            {QVAlbumTag, QStringLiteral("Record")},      {QVTitleTag, title},
            {QVTrackNoTag, trackNo},                     {QVYearTag, QStringLiteral("2004")},
            {QVGenreTag, QStringLiteral("Rock")},        {QVLabelTag, QString()},
            {QVDiscsTag, QStringLiteral("1")},           {QVTrackCountTag, QStringLiteral("12")}};
}

} // namespace

TEST(RenamingMask, PutsEveryValueInItsPlaceholder)
{
    const QString mask = QStringLiteral("%a/%b/%n - %t (%y, %r) %A %x 100%");
    const QString expected = QStringLiteral("Band/Record/07 - Intro (2004, Singer) %A %x 100%");
    for (const auto values : {RenamingMask::Values::FileNameSafe, RenamingMask::Values::Unchanged})
        EXPECT_EQ(RenamingMask::substitute(mask, song(QStringLiteral("Intro")), values), expected);
}

TEST(RenamingMask, PadsTrackNumbersToTwoDigits)
{
    const auto number = [](const QString &trackNo) {
        return RenamingMask::substitute(QStringLiteral("%n"), song(QStringLiteral("x"), trackNo),
                                        RenamingMask::Values::FileNameSafe);
    };
    EXPECT_EQ(number(QStringLiteral("7")), u"07");
    EXPECT_EQ(number(QStringLiteral("12")), u"12");
    EXPECT_EQ(number(QStringLiteral("123")), u"123");
    EXPECT_EQ(number(QString()), u"00");
    EXPECT_EQ(number(QStringLiteral("3/12")), u"03");
}

TEST(RenamingMask, LaterPlaceholdersInsideValuesAreFilledEarlierOnesAreNot)
{
    QVariantMap metadata = song(QStringLiteral("Live %y"));
    metadata[QVAlbumTag] = QStringLiteral("Best of %a");
    EXPECT_EQ(RenamingMask::substitute(QStringLiteral("%b - %t"), metadata, RenamingMask::Values::Unchanged),
              u"Best of %a - Live 2004");
}

TEST(RenamingMask, AsksTheTagOnlyForValuesItPutsIn)
{
    const QVariantMap metadata = song(QStringLiteral("Live %y"));
    QStringList asked;
    const auto valueOf = [&](const QString &key) {
        asked.append(key);
        return metadata.value(key).toString();
    };
    // The title brings in "%y", so the year is asked for too; nothing else is.
    EXPECT_EQ(RenamingMask::substituteOnDemand(QStringLiteral("%n %t"), valueOf, RenamingMask::Values::FileNameSafe),
              u"07 Live 2004");
    EXPECT_EQ(asked, (QStringList{QVTitleTag, QVTrackNoTag, QVYearTag}));
}

TEST(RenamingMask, UntaggedFilesAndEmptyMasksGiveTheMaskItself)
{
    for (const auto values : {RenamingMask::Values::FileNameSafe, RenamingMask::Values::Unchanged}) {
        EXPECT_EQ(RenamingMask::substitute(QStringLiteral("%n - %t"), {}, values), u"%n - %t");
        EXPECT_EQ(RenamingMask::substitute(QString(), song(QStringLiteral("x")), values), QString());
    }
}

TEST(RenamingMask, SlashesInValuesOpenNoFolderWhenRenaming)
{
    QVariantMap metadata = song(QStringLiteral("AC/DC Live"));
    metadata[QVArtistAlbumTag] = QStringLiteral("A/B");
    metadata[QVAlbumTag] = QStringLiteral("../..");
    metadata[QVArtistTrackTag] = QStringLiteral("C/D");
    metadata[QVYearTag] = QStringLiteral("2004/05");
    const QString mask = QStringLiteral("%a/%b %t %r %y");
    EXPECT_EQ(RenamingMask::substitute(mask, metadata, RenamingMask::Values::FileNameSafe),
              u"A:B/..:.. AC:DC Live C:D 2004:05");
    // The preview shows the values as the tags hold them.
    EXPECT_EQ(RenamingMask::substitute(mask, metadata, RenamingMask::Values::Unchanged),
              u"A/B/../.. AC/DC Live C/D 2004/05");
    // A NUL would cut the name short where the system reads it.
    metadata[QVTitleTag] = QStringLiteral("..") + QChar(u'\0') + QStringLiteral("x");
    EXPECT_EQ(RenamingMask::substitute(QStringLiteral("%t"), metadata, RenamingMask::Values::FileNameSafe),
              u"..x");
}

TEST(RenamingMask, NamesThatWouldCollapseOrClimbAreRefused)
{
    for (const char *bad : {"", "Band/", "/", ".", "..", "Band/../x", "./x", "Band/."})
        EXPECT_TRUE(RenamingMask::problemWithName(QString::fromUtf8(bad))) << bad;
    for (const char *good : {"x", "Band/Record/07 - x", "...", ".hidden", "a..b", "Band//x", "/x"})
        EXPECT_FALSE(RenamingMask::problemWithName(QString::fromUtf8(good))) << good;
}
