// The search button against the demo catalogue the window serves in-process, for a storefront
// and for MusicBrainz, whose chosen album is looked up for its tracks and cover.
#include "WindowTest.h"

#include "window/RowTableView.h"

#include <QAccessible>

TEST_F(WindowTest, SearchReplacesTheAlbumsAndShowsTheFirstWithItsTracks)
{
    // Without storefront credentials the window starts on MusicBrainz.
    EXPECT_TRUE(button("storeMusicBrainz")->isChecked());
    for (const char *source : {"storeUnitedStates", "storeMusicBrainz"}) {
        SCOPED_TRACE(source);
        const bool musicBrainz = source == std::string("storeMusicBrainz");
        const QString catalogue = musicBrainz ? "MusicBrainz" : "amazon database";
        click("clearAllButton");
        addAlbums({"Typed"});
        listFiles({filePath("kept.mp3")});
        takeStatusLines();
        button(source)->click();
        field("keywords")->setText("Northern Lights");
        click("searchButton");
        const ResultList &albums = *session().albums();
        ASSERT_GE(albums.size(), 2);
        const QStringList lines = takeStatusLines();
        EXPECT_EQ(lines.first(), QStringLiteral("Starting %1 searching...").arg(catalogue));
        EXPECT_TRUE(lines.contains(QStringLiteral("Finished %1 searching. %2 entries processed.").arg(catalogue).arg(albums.size())));
        EXPECT_FALSE(column(TableOutlet::resultTableView, 1).contains("Typed"));
        EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), 0);
        EXPECT_EQ(session().tracks(), albums.at(0)->trackList());
        EXPECT_EQ(session().listedFiles().size(), 1);
        if (!musicBrainz)
            continue;
        // The first album was looked up on its own; the second, a two-disc live album whose
        // tracks have their own artists, is looked up once chosen by a key and left to rest.
        EXPECT_EQ(lines.last(), QStringLiteral("Tracks and cover of %1 found.").arg(*albums.at(0)->albumName()));
        view(TableOutlet::resultTableView)->setFocus();
        pressKey(view(TableOutlet::resultTableView), Qt::Key_Down);
        EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), 1);
        QCoreApplication::processEvents();
        EXPECT_TRUE(takeStatusLines().filter("Looking up").isEmpty());
        session().waitForJob();
        const std::shared_ptr<ResultEntry> live = albums.at(1);
        ASSERT_TRUE(live->trackList());
        EXPECT_EQ(session().tracks(), live->trackList());
        EXPECT_EQ(live->trackList()->size(), 11);
        EXPECT_EQ(live->trackList()->last()->discNumber(), 2);
        EXPECT_TRUE(window().image().has_value());
        EXPECT_EQ(takeStatusLines(), QStringList({QStringLiteral("Looking up the tracks and cover of %1...").arg(*live->albumName()),
                                                  QStringLiteral("Tracks and cover of %1 found.").arg(*live->albumName())}));
        EXPECT_EQ(column(TableOutlet::trackListView, 4).last(), "2");   // the Disc column
        window().selectRow(TableOutlet::resultTableView, 0);
        window().selectRow(TableOutlet::resultTableView, 1);
        session().waitForJob();
        EXPECT_TRUE(takeStatusLines().filter("Looking up").isEmpty());
    }
    // A search that finds nothing says so where the albums would be, also to assistive tools.
    field("keywords")->setText("qqxqzz");
    click("searchButton");
    const QString nothing = "No albums found for \u201Cqqxqzz\u201D.";
    EXPECT_EQ(static_cast<RowTableView *>(view(TableOutlet::resultTableView))->placeholderText(), nothing);
    const auto description = [this] {
        return QAccessible::queryAccessibleInterface(view(TableOutlet::resultTableView))->text(QAccessible::Description);
    };
    EXPECT_EQ(description(), nothing);
    click("clearAllButton");
    EXPECT_EQ(description(), "");
}

TEST_F(WindowTest, AMusicBrainzReleaseIdAsKeywordsShowsThatReleaseAlone)
{
    button("storeMusicBrainz")->click();
    field("keywords")->setText("https://musicbrainz.org/release/1649079c-3a3f-5dc9-8022-965703279c25");
    click("searchButton");
    ASSERT_EQ(session().albums()->size(), 1);
    EXPECT_EQ(column(TableOutlet::resultTableView, 1), QStringList({"Northern Lights"}));
    EXPECT_EQ(session().tracks()->size(), 8);
    EXPECT_EQ(takeStatusLines().last(), "Finished MusicBrainz searching. 1 entries processed.");
}
