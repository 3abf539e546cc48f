// The tag commands and the main window's player: the file being written is let go of first.

#include "ElSounds.h"
#include "ProgramFolder.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "TestModules.h"
#include "UnitMain.h"
#include "UnitUtilities.h"

#include <QItemSelectionModel>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

class TagCommandsPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("CORVANE_AO_DRIVER", "null");
        setProgramFolder(playerModuleFolder());
        setDelayScale(0.01);
        form = std::make_unique<TFormMain>();
        form->OpenFiles({encodeWithLame(dir, QStringLiteral("a.mp3"), makeWav(2 * 44100, 44100, 2))}, false);
        ASSERT_EQ(form->FileList.size(), 1u);
        form->vtgrid->selectionModel()->select(form->vtgridModel->index(0, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        form->ToolBtnPlay->click();
        ASSERT_EQ(form->Player->GetPlayerMode(), es::Playing);
    }
    void TearDown() override
    {
        form.reset();
        setDelayScale(1);
        setProgramFolder(QString());
    }

    TempDir dir;
    ScriptedUserInterface messages;
    std::unique_ptr<TFormMain> form;
};

}  // namespace

TEST_F(TagCommandsPlayerTest, RemovingTheTagOfThePlayingFileStopsAndClosesIt)
{
    form->PageControlTag->setCurrentWidget(form->TabSheetV2);
    form->miRemoveTagClick();
    EXPECT_EQ(form->Player->GetPlayerMode(), es::Closed);
}

TEST_F(TagCommandsPlayerTest, RemovingTheTagOfThePausedFileLeavesItOpen)
{
    form->ToolBtnPause->click();
    ASSERT_EQ(form->Player->GetPlayerMode(), es::Paused);
    form->miRemoveTagClick();
    EXPECT_EQ(form->Player->GetPlayerMode(), es::Paused);
}

TEST_F(TagCommandsPlayerTest, SavingThePausedFileClosesItFirst)
{
    form->ToolBtnPause->click();
    form->miSaveClick();
    EXPECT_EQ(form->Player->GetPlayerMode(), es::Closed);
}

TEST_F(TagCommandsPlayerTest, CopyingIntoThePausedFileClosesItFirst)
{
    form->ToolBtnPause->click();
    form->miV2V1Click();
    EXPECT_EQ(form->Player->GetPlayerMode(), es::Closed);
}

TEST_F(TagCommandsPlayerTest, AutoNumberingThePlayingFileClosesItFirst)
{
    form->miAutoNumberClick();
    EXPECT_EQ(form->Player->GetPlayerMode(), es::Closed);
    EXPECT_TRUE(form->FileList[0]->HasID3v2 || form->FileList[0]->HasID3v1);
}
