#include "files/RenamingMask.h"
#include "files/SongMetadata.h"

#include <gtest/gtest.h>

TEST(RenamingMask, PutsValuesInTheirPlaceholders)
{
    const QVariantMap song{{QVArtistAlbumTag, "Band"}, {QVArtistTrackTag, "Singer"}, {QVAlbumTag, "Record"},
                           {QVTitleTag, "Intro"},      {QVTrackNoTag, "7"},          {QVYearTag, "2004"},
                           {QVDiscNoTag, "2"}};
    const QString nul(QChar(u'\0'));
    // The mask, changes to the song's values, the name for renaming (values made safe for a
    // file name) and, where it differs, the preview (values unchanged).
    const QList<std::tuple<QString, QVariantMap, QString, QString>> cases{
        {"%a/%b/CD%d/%n - %t (%y, %r) %A %x 100%", {}, "Band/Record/CD2/07 - Intro (2004, Singer) %A %x 100%", {}},
        // The disc is unpadded and may be unknown; no value turns into it.
        {"%a/%d/%n", {{QVDiscNoTag, ""}}, "Band//07", {}},
        {"%d%t", {{QVDiscNoTag, "12"}, {QVTitleTag, "100%dance"}}, "12100%dance", {}},
        // Track numbers take two digits at least; a missing one gives 00.
        {"%n", {{QVTrackNoTag, "123"}}, "123", {}},
        {"%n", {{QVTrackNoTag, "3/12"}}, "03", {}},
        {"%n", {{QVTrackNoTag, ""}}, "00", {}},
        // A value's own "%" signs stay text: only the mask holds placeholders.
        {"%b - %t", {{QVAlbumTag, "Best of %a"}, {QVTitleTag, "Live %y"}}, "Best of %a - Live %y", {}},
        {"%n - %t", {{QVTitleTag, "100%real 2%you %nice %"}}, "07 - 100%real 2%you %nice %", {}},
        {"%%n%t%", {{QVTitleTag, "%n"}}, "%07%n%", {}},
        // Only the mask opens folders; a NUL would cut the name short where the system reads it.
        {"%a/%b %t %y", {{QVArtistAlbumTag, "A/B"}, {QVAlbumTag, "../.."}, {QVTitleTag, "AC/DC" + nul}},
         "A:B/..:.. AC:DC 2004", "A/B/../.. AC/DC" + nul + " 2004"},
        {"", {}, "", {}},
    };
    for (const auto &[mask, changes, renamed, previewed] : cases) {
        QVariantMap metadata = song;
        metadata.insert(changes);
        EXPECT_EQ(RenamingMask::substitute(mask, metadata, RenamingMask::Values::FileNameSafe), renamed) << mask.toStdString();
        EXPECT_EQ(RenamingMask::substitute(mask, metadata, RenamingMask::Values::Unchanged),
                  previewed.isNull() ? renamed : previewed) << mask.toStdString();
    }
    // An untagged file gives the mask itself.
    EXPECT_EQ(RenamingMask::substitute("%n - %t", {}, RenamingMask::Values::FileNameSafe), "%n - %t");
}

TEST(RenamingMask, NamesThatWouldCollapseOrClimbAreRefused)
{
    for (const char *bad : {"", "Band/", "/", ".", "..", "Band/../x", "./x", "Band/."})
        EXPECT_TRUE(RenamingMask::problemWithName(QString::fromUtf8(bad))) << bad;
    for (const char *good : {"x", "Band/Record/07 - x", "...", ".hidden", "a..b", "Band//x", "/x"})
        EXPECT_FALSE(RenamingMask::problemWithName(QString::fromUtf8(good))) << good;
    // Empty folder components drop out; an empty name stays empty, to be refused.
    for (const auto &[name, kept] : {std::pair{"Band//x", "Band/x"}, {"/x", "x"}, {"a///b/c", "a/b/c"}, {"Band/", "Band/"}, {"", ""}})
        EXPECT_EQ(RenamingMask::withoutEmptyFolders(name), kept) << name;
}
