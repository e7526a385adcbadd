#include "files/RenamingMask.h"

#include <functional>
#include <gtest/gtest.h>

TEST(RenamingMask, PutsValuesInTheirPlaceholders)
{
    TagValues song;
    song.albumArtist = "Band";
    song.trackArtist = "Singer";
    song.album = "Record";
    song.title = "Intro";
    song.trackNumber = 7;
    song.year = 2004;
    song.discNumber = 2;
    const QString nul(QChar(u'\0'));
    // The mask, changes to the song's values, the name for renaming (values made safe for a
    // file name) and, where it differs, the preview (values unchanged).
    const QList<std::tuple<QString, std::function<void(TagValues &)>, QString, QString>> cases{
        {"%a/%b/CD%d/%n - %t (%y, %r) %A %x 100%", [](TagValues &) {}, "Band/Record/CD2/07 - Intro (2004, Singer) %A %x 100%", {}},
        // The disc is unpadded and may be unknown; no value turns into it.
        {"%a/%d/%n", [](TagValues &v) { v.discNumber = 0; }, "Band//07", {}},
        {"%d%t", [](TagValues &v) { v.discNumber = 12; v.title = "100%dance"; }, "12100%dance", {}},
        // Track numbers take two digits at least; a missing one gives 00.
        {"%n", [](TagValues &v) { v.trackNumber = 123; }, "123", {}},
        {"%n - %t", [](TagValues &v) { v.trackNumber = 0; }, "00 - Intro", {}},
        // A value's own "%" signs stay text: only the mask holds placeholders.
        {"%b - %t", [](TagValues &v) { v.album = "Best of %a"; v.title = "Live %y"; }, "Best of %a - Live %y", {}},
        {"%n - %t", [](TagValues &v) { v.title = "100%real 2%you %nice %"; }, "07 - 100%real 2%you %nice %", {}},
        {"%%n%t%", [](TagValues &v) { v.title = "%n"; }, "%07%n%", {}},
        // Only the mask opens folders; a NUL would cut the name short where the system reads it.
        {"%a/%b %t %y", [&nul](TagValues &v) { v.albumArtist = "A/B"; v.album = "../.."; v.title = "AC/DC" + nul; },
         "A:B/..:.. AC:DC 2004", "A/B/../.. AC/DC" + nul + " 2004"},
        {"", [](TagValues &) {}, "", {}},
    };
    for (const auto &[mask, change, renamed, previewed] : cases) {
        TagValues values = song;
        change(values);
        EXPECT_EQ(RenamingMask::substitute(mask, values, RenamingMask::Values::FileNameSafe), renamed) << mask.toStdString();
        EXPECT_EQ(RenamingMask::substitute(mask, values, RenamingMask::Values::Unchanged),
                  previewed.isNull() ? renamed : previewed) << mask.toStdString();
    }
    // An untagged file, or one without any value the mask asks for, gives no name.
    EXPECT_FALSE(RenamingMask::substitute("%n - %t", std::nullopt, RenamingMask::Values::FileNameSafe));
    EXPECT_FALSE(RenamingMask::substitute("%a/%n - %t", TagValues(), RenamingMask::Values::FileNameSafe));
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
