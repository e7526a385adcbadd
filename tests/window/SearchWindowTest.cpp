// The search button against the local catalogue service with the bundled sample catalogue.
#include "WindowTest.h"

#include "support/LocalCatalogue.h"
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

    ui().keywords->setText("Northern Lights");
    ui().storeUnitedKingdom->click();
    takeStatusLines();
    ui().searchButton->click();

    ASSERT_TRUE(controller().resultList());
    const ResultList &albums = *controller().resultList();
    ASSERT_GE(albums.size(), 2);
    QStringList expected = {"Starting amazon database searching..."};
    for (int entry = 1; entry <= albums.size(); ++entry)
        expected.append(QStringLiteral("New entry processed. %1 entries processed.").arg(entry));
    expected.append(QStringLiteral("Finished amazon database searching. %1 entries processed.").arg(albums.size()));
    EXPECT_EQ(takeStatusLines(), expected);

    EXPECT_EQ(view(TableOutlet::resultTableView)->model()->rowCount(), albums.size());
    EXPECT_FALSE(column(TableOutlet::resultTableView, 0).contains("By Hand"));
    EXPECT_EQ(window().selectedRows(TableOutlet::resultTableView), QList<int>({0}));
    ASSERT_TRUE(albums.at(0)->trackList());
    EXPECT_EQ(controller().trackItems(), albums.at(0)->trackList());
    EXPECT_EQ(view(TableOutlet::trackListView)->model()->rowCount(), albums.at(0)->trackList()->size());
    EXPECT_EQ(ui().cover->image().has_value(), albums.at(0)->cover().has_value());
    if (albums.at(0)->cover()) {
        EXPECT_EQ(ui().cover->image()->size(), albums.at(0)->cover()->size());
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
    EXPECT_EQ(ui().cover->image().has_value(), albums.at(1)->cover().has_value());
}

TEST_F(SearchWindowTest, BlankKeywordsSearchAndFindingNothingCountsNought)
{
    ui().keywords->setText("   ");
    takeStatusLines();
    ui().searchButton->click();
    const QStringList lines = takeStatusLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "Starting amazon database searching...");
    EXPECT_EQ(lines.last(), "Finished amazon database searching. 0 entries processed.");
    EXPECT_EQ(view(TableOutlet::resultTableView)->model()->rowCount(), 0);
    EXPECT_FALSE(ui().cover->image());
}
