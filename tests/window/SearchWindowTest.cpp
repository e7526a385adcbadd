// The search button against the demo catalogue the window serves in-process while no
// credentials are configured.
#include "WindowTest.h"

TEST_F(WindowTest, SearchReplacesTheAlbumsAndShowsTheFirstWithItsTracks)
{
    addAlbums({"Typed"});
    listFiles({filePath("kept.mp3")});
    // Without storefront credentials the window starts on MusicBrainz.
    EXPECT_TRUE(button("storeMusicBrainz")->isChecked());
    button("storeUnitedStates")->click();
    field("keywords")->setText("Northern Lights");
    click("searchButton");
    const ResultList &albums = *controller().resultList();
    ASSERT_GE(albums.size(), 2);
    EXPECT_EQ(takeStatusLines().last(), QStringLiteral("Finished amazon database searching. %1 entries processed.").arg(albums.size()));
    EXPECT_FALSE(column(TableOutlet::resultTableView, 1).contains("Typed"));
    EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), 0);
    EXPECT_EQ(controller().trackItems(), albums.at(0)->trackList());
    EXPECT_EQ(controller().songs()->size(), 1);
}
