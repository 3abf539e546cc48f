// The main window's player: set up at start, the tool buttons and popup items, the unload at the end.

#include "ElSounds.h"
#include "ProgramFolder.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "TestModules.h"
#include "UnitMain.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("CORVANE_AO_DRIVER", "null");
        setProgramFolder(playerModuleFolder());
    }
    void TearDown() override { setProgramFolder(QString()); }

    QString song(const QString& name)
    {
        return encodeWithLame(dir, name, makeWav(2 * 44100, 44100, 2));
    }

    static std::string title(const TFormMain& form, std::size_t row)
    {
        const char* field = form.FileList[row]->ID3v1.Title;
        return std::string(field, qstrnlen(field, sizeof form.FileList[row]->ID3v1.Title));
    }

    static void selectRow(TFormMain& form, int row)
    {
        form.vtgrid->selectionModel()->select(form.vtgridModel->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    TempDir dir;
    ScriptedUserInterface messages;
};

TEST_F(PreviewWindowTest, StartWithTheModuleSetsThePlayerUpForPreview)
{
    TFormMain form;
    ASSERT_NE(form.Player, nullptr);
    EXPECT_EQ(form.Player->PathToDLL(), playerModuleFolder() + "dodid.esp");
    EXPECT_EQ(form.Player->BuffersCount(), 8);
    EXPECT_EQ(form.Player->BufferSize(), 8192);
    EXPECT_EQ(form.Player->InputMode(), imFile);
    EXPECT_EQ(form.Player->OutputMode(), omMMSystem);
    EXPECT_EQ(form.Player->OutputDevNum(), -1);
    EXPECT_TRUE(form.Player->Initialized());
    EXPECT_TRUE(form.ToolBtnStop->isEnabled());
}

TEST_F(PreviewWindowTest, StartWithoutTheModuleIsSilentAndDisablesThePlayerButtons)
{
    setProgramFolder(dir.path());
    TFormMain form;
    EXPECT_EQ(form.Player, nullptr);
    EXPECT_FALSE(form.ToolBtnPlay->isEnabled());
    EXPECT_FALSE(form.ToolBtnPause->isEnabled());
    EXPECT_FALSE(form.ToolBtnStop->isEnabled());
    form.OpenFiles({song(QStringLiteral("a.mp3"))}, false);
    selectRow(form, 0);
    form.miPopupPlay->trigger();
    form.miPopupPause->trigger();
    form.miPopupStop->trigger();
    EXPECT_EQ(form.Player, nullptr);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PreviewWindowTest, PlayWithTwoRowsSelectedPlaysTheFirstInGridOrder)
{
    TFormMain form;
    const QStringList files = {song(QStringLiteral("a.mp3")), song(QStringLiteral("b.mp3")),
                               song(QStringLiteral("c.mp3"))};
    form.OpenFiles(files, false);
    selectRow(form, 2);
    selectRow(form, 1);
    form.ToolBtnPlay->click();
    EXPECT_EQ(form.Player->InputName(), files[1]);
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Playing);
}

TEST_F(PreviewWindowTest, PlayWhilePausedResumesEvenWithNoRowSelected)
{
    TFormMain form;
    form.OpenFiles({song(QStringLiteral("a.mp3")), song(QStringLiteral("b.mp3"))}, false);
    selectRow(form, 0);
    form.ToolBtnPlay->click();
    form.ToolBtnPause->click();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Paused);
    form.vtgrid->selectionModel()->clearSelection();
    form.ToolBtnPlay->click();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Playing);
    EXPECT_EQ(form.Player->InputName(), form.FileList[0]->FileName);
}

TEST_F(PreviewWindowTest, StopWhilePausedClosesTheFile)
{
    TFormMain form;
    form.OpenFiles({song(QStringLiteral("a.mp3"))}, false);
    selectRow(form, 0);
    form.ToolBtnPlay->click();
    form.ToolBtnPause->click();
    form.ToolBtnStop->click();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Closed);
    EXPECT_FALSE(form.Player->GetPaused());
    EXPECT_EQ(form.Player->InputName(), form.FileList[0]->FileName);
}

TEST_F(PreviewWindowTest, PopupItemsRunTheCommands)
{
    TFormMain form;
    form.OpenFiles({song(QStringLiteral("a.mp3"))}, false);
    selectRow(form, 0);
    form.miPopupPlay->trigger();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Playing);
    form.miPopupPause->trigger();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Paused);
    form.miPopupPause->trigger();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Playing);
    form.miPopupStop->trigger();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Closed);
}

TEST_F(PreviewWindowTest, SavingTheTagOfThePlayingFileStopsAndClosesItFirst)
{
    TFormMain form;
    form.OpenFiles({song(QStringLiteral("a.mp3")), song(QStringLiteral("b.mp3"))}, false);
    ASSERT_EQ(form.FileList.size(), 2u);
    selectRow(form, 0);
    form.ToolBtnPlay->click();
    ASSERT_EQ(form.Player->GetPlayerMode(), es::Playing);
    form.EditTitleV1->setText(QStringLiteral("Preview"));
    form.miSaveClick();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Closed);
    EXPECT_EQ(title(form, 0), "Preview");
}

TEST_F(PreviewWindowTest, SavingAnotherFileLeavesPlaybackAlone)
{
    TFormMain form;
    form.OpenFiles({song(QStringLiteral("a.mp3")), song(QStringLiteral("b.mp3"))}, false);
    ASSERT_EQ(form.FileList.size(), 2u);
    selectRow(form, 0);
    form.ToolBtnPlay->click();
    form.vtgrid->selectionModel()->clearSelection();
    selectRow(form, 1);
    form.EditTitleV1->setText(QStringLiteral("Other"));
    form.miSaveClick();
    EXPECT_EQ(form.Player->GetPlayerMode(), es::Playing);
    EXPECT_EQ(title(form, 1), "Other");
}

TEST_F(PreviewWindowTest, SavingTheLastPlayedFileAfterStopOnlyClosesItAgain)
{
    FakeModule fake;
    setProgramFolder(fakeModuleFolder());
    TFormMain form;
    form.OpenFiles({song(QStringLiteral("a.mp3"))}, false);
    selectRow(form, 0);
    fake.state().playerMode = es::Stopped;
    form.ToolBtnPlay->click();
    form.ToolBtnStop->click();
    fake.state().calls.clear();
    form.EditTitleV1->setText(QStringLiteral("After"));
    form.miSaveClick();
    EXPECT_EQ(fake.state().calls, (std::vector<std::string>{"ESGetPlayerMode 7", "ESClose 7"}));
    EXPECT_EQ(title(form, 0), "After");
}

TEST_F(PreviewWindowTest, DestroyingTheWindowUnloadsThePlayerModule)
{
    FakeModule fake;
    setProgramFolder(fakeModuleFolder());
    {
        TFormMain form;
        ASSERT_NE(form.Player, nullptr);
        fake.state().calls.clear();
    }
    EXPECT_EQ(fake.state().calls, std::vector<std::string>{"ESDeInitModule 7"});
}

}  // namespace
