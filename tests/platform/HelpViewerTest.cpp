#include "ChmArchive.h"
#include "HelpFileMaker.h"
#include "HelpViewer.h"

#include <gtest/gtest.h>

namespace {

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        helpFile = makeHelpFile(dir, "Corvane Help.chm",
                                {{"Overview.htm", "<html><body><h1>Corvane overview</h1>"
                                                  "<a href=\"Second.htm\">Next</a></body></html>"},
                                 {"Second.htm", "<html><body><p>Second topic</p></body></html>"}});
    }

    TempDir dir;
    QString helpFile;
};

TEST_F(HelpViewerTest, TheArchiveGivesItsTopicsAndNothingForOthers)
{
    ChmArchive archive(helpFile);
    ASSERT_TRUE(archive.isOpen());
    EXPECT_TRUE(archive.contains("/Overview.htm"));
    EXPECT_TRUE(archive.object("/Second.htm").contains("Second topic"));
    EXPECT_FALSE(archive.contains("/Missing.htm"));
    EXPECT_TRUE(archive.object("/Missing.htm").isEmpty());
}

TEST_F(HelpViewerTest, AMissingOrDamagedFileIsNotOpen)
{
    EXPECT_FALSE(ChmArchive(dir.filePath("none.chm")).isOpen());
    EXPECT_FALSE(ChmArchive(dir.write("bad.chm", "not a help file")).isOpen());
}

TEST_F(HelpViewerTest, ShowsTheTopicAndFollowsLinksInsideTheFile)
{
    HelpViewer* viewer = showHelpTopic(helpFile, "/Overview.htm");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->toPlainText().contains("Corvane overview"));
    viewer->setSource(QUrl("Second.htm"));
    EXPECT_TRUE(viewer->toPlainText().contains("Second topic"));
    viewer->close();
}

TEST_F(HelpViewerTest, AMissingFileOrTopicShowsNothing)
{
    EXPECT_EQ(showHelpTopic(dir.filePath("none.chm"), "/Overview.htm"), nullptr);
    EXPECT_EQ(showHelpTopic(helpFile, "/Missing.htm"), nullptr);
}

}  // namespace
