// The search button against the local catalogue service with the bundled sample catalogue.
#include "WindowTest.h"

#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TestPaths.h"

class SearchWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_catalogue = std::make_unique<LocalCatalogue>(sourceDir() + "/data/catalogue");
        ASSERT_TRUE(m_catalogue->isRunning());
        controller().setServiceConfig(m_catalogue->config());
    }

    std::unique_ptr<LocalCatalogue> m_catalogue;
};

TEST_F(SearchWindowTest, SearchReplacesTheAlbumsChoosesTheFirstAndReportsEachEntry)
{
    controller().generateNewAlbumEntryForArtist("By Hand", "Typed", "", "", "", "", "");
    controller().generateNewTrackItem("Typed Track", "");
    listFiles({filePath("kept.mp3")});

    field("keywords")->setText("Northern Lights");
    button("storeUnitedKingdom")->click();
    takeStatusLines();
    button("searchButton")->click();

    ASSERT_TRUE(controller().resultList());
    const ResultList &albums = *controller().resultList();
    ASSERT_GE(albums.size(), 2);
    QStringList expected = QStringList{"Starting amazon database searching..."} + entryStatusLines(int(albums.size()));
    expected.append(QStringLiteral("Finished amazon database searching. %1 entries processed.").arg(albums.size()));
    EXPECT_EQ(takeStatusLines(), expected);

    EXPECT_EQ(view(TableOutlet::resultTableView)->model()->rowCount(), albums.size());
    EXPECT_FALSE(column(TableOutlet::resultTableView, 0).contains("By Hand"));
    EXPECT_EQ(window().selectedRows(TableOutlet::resultTableView), QList<int>({0}));
    ASSERT_TRUE(albums.at(0)->trackList());
    EXPECT_EQ(controller().trackItems(), albums.at(0)->trackList());
    EXPECT_EQ(view(TableOutlet::trackListView)->model()->rowCount(), albums.at(0)->trackList()->size());
    EXPECT_EQ(cover()->image().has_value(), albums.at(0)->cover().has_value());
    if (albums.at(0)->cover()) {
        EXPECT_EQ(cover()->image()->size(), albums.at(0)->cover()->size());
    }
    EXPECT_EQ(*controller().songs(), QStringList({filePath("kept.mp3")}));

    bool searched = false;
    for (const QJsonObject &line : m_catalogue->logLines())
        if (line["query"]["Keywords"].toString().contains("Northern") && line["signatureVerified"].toBool())
            searched = true;
    EXPECT_TRUE(searched);

    // Choosing another album shows its tracks and cover.
    window().selectRow(TableOutlet::resultTableView, 1);
    EXPECT_EQ(controller().trackItems(), albums.at(1)->trackList());
    EXPECT_EQ(cover()->image().has_value(), albums.at(1)->cover().has_value());
}

TEST_F(SearchWindowTest, EmptyKeywordsDoNothingAndBlankOnesFindNothingCountingNought)
{
    controller().generateNewAlbumEntryForArtist("Artist", "Album", "2001", "Rock", "Label", "3", "1");
    cover()->setImage(QImage(8, 8, QImage::Format_RGB32));
    postStatusChange(this, "before");
    takeStatusLines();
    field("keywords")->clear();
    button("searchButton")->click();
    EXPECT_TRUE(takeStatusLines().isEmpty());
    EXPECT_EQ(status()->text(), "before");
    EXPECT_EQ(controller().resultList()->size(), 1);
    EXPECT_TRUE(cover()->image());

    field("keywords")->setText("   ");
    button("searchButton")->click();
    const QStringList lines = takeStatusLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "Starting amazon database searching...");
    EXPECT_EQ(lines.last(), "Finished amazon database searching. 0 entries processed.");
    EXPECT_EQ(view(TableOutlet::resultTableView)->model()->rowCount(), 0);
    EXPECT_FALSE(cover()->image());
}
