// The main window's play, pause and stop rules, without the window: what reaches the module, and
// what the module the project builds does with it.

#include "ElSounds.h"
#include "PreviewCommands.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "TestModules.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class PreviewCommandsTest : public ::testing::Test {
protected:
    // The player set up on the scripted module, in the given mode, with the set-up calls forgotten.
    TElPlayer* scriptedPlayer(std::int32_t mode = es::Stopped)
    {
        TElPlayer* player = setUpPreviewPlayer(manager, fakeModuleFolder());
        fake.state().playerMode = mode;
        calls().clear();
        return player;
    }
    Calls& calls() { return fake.state().calls; }

    FakeModule fake;
    ScriptedUserInterface messages;
    TElPlayerMan manager;
};

TEST_F(PreviewCommandsTest, SetUpLoadsTheModuleFromTheFolderAndSendsTheStartSettings)
{
    TElPlayer* player = setUpPreviewPlayer(manager, fakeModuleFolder());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->PathToDLL(), fakeModuleFolder() + "dodid.esp");
    EXPECT_EQ(calls(), (Calls{"ESInitModule", "ESSetOutCB 7", "ESSetInCB 7", "ESSetBuffers 7 8 16384",
                              "ESSetBuffers 7 8 8192", "ESSetInputMode 7 0", "ESSetOutputMode 7 0",
                              "ESSetDevNum 7 -1"}));
    EXPECT_EQ(manager.Players()->Count(), 1);
}

TEST_F(PreviewCommandsTest, SetUpThatFailsLeavesNoPlayerAndSaysNothing)
{
    TempDir empty;
    for (const QString& folder : {empty.path() + "/", fakeWithoutEseqFolder(), fakeInitFailsFolder()}) {
        EXPECT_EQ(setUpPreviewPlayer(manager, folder), nullptr) << folder.toStdString();
        EXPECT_EQ(manager.Players()->Count(), 0);
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PreviewCommandsTest, SetUpRefusedByTheModuleUnloadsIt)
{
    fake.state().refused = {"ESSetDevNum"};
    fake.state().lastError = 6;
    EXPECT_EQ(setUpPreviewPlayer(manager, fakeModuleFolder()), nullptr);
    EXPECT_EQ(calls().back(), "ESDeInitModule 7");
    EXPECT_EQ(manager.Players()->Count(), 0);
}

TEST_F(PreviewCommandsTest, PlayWithNoSelectionAndNothingPausedDoesNothing)
{
    playSelected(scriptedPlayer(), std::nullopt);
    EXPECT_EQ(calls(), Calls{});
}

TEST_F(PreviewCommandsTest, PlayWhilePlayingStopsClosesAndStartsTheSelectedFile)
{
    TElPlayer* player = scriptedPlayer(es::Playing);
    playSelected(player, QStringLiteral("/music/b.mp3"));
    const Calls start(calls().begin(), calls().begin() + 4);
    EXPECT_EQ(start, (Calls{"ESGetPlayerMode 7", "ESStop 7", "ESClose 7", "ESSetInputName 7 /music/b.mp3"}));
    EXPECT_EQ(std::count(calls().begin(), calls().end(), "ESOpen 7"), 1);
    EXPECT_EQ(std::count(calls().begin(), calls().end(), "ESInitStream 7"), 1);
    EXPECT_EQ(std::count(calls().begin(), calls().end(), "ESPlay 7"), 1);
    EXPECT_EQ(player->InputName(), "/music/b.mp3");
}

TEST_F(PreviewCommandsTest, PlayWhileStoppedClosesAndStarts)
{
    playSelected(scriptedPlayer(es::Stopped), QStringLiteral("/music/b.mp3"));
    const Calls start(calls().begin(), calls().begin() + 3);
    EXPECT_EQ(start, (Calls{"ESGetPlayerMode 7", "ESClose 7", "ESSetInputName 7 /music/b.mp3"}));
}

TEST_F(PreviewCommandsTest, ModesCountByTheirLowByte)
{
    playSelected(scriptedPlayer(0x104), QStringLiteral("/music/b.mp3"));
    EXPECT_EQ(calls().at(1), "ESStop 7");
}

TEST_F(PreviewCommandsTest, PlayWhilePausedResumesWhateverIsSelected)
{
    TElPlayer* player = scriptedPlayer(es::Paused);
    for (const std::optional<QString>& selected : {std::optional<QString>(), std::optional(QStringLiteral("/b.mp3"))}) {
        player->Pause();
        calls().clear();
        playSelected(player, selected);
        EXPECT_EQ(calls(), Calls{"ESResume 7"});
        EXPECT_FALSE(player->GetPaused());
    }
}

TEST_F(PreviewCommandsTest, PauseAndResumeTakeTurns)
{
    TElPlayer* player = scriptedPlayer(es::Playing);
    pauseOrResume(player);
    EXPECT_EQ(calls(), (Calls{"ESGetPlayerMode 7", "ESPause 7"}));
    EXPECT_TRUE(player->GetPaused());
    fake.state().playerMode = es::Paused;
    calls().clear();
    pauseOrResume(player);
    EXPECT_EQ(calls(), (Calls{"ESGetPlayerMode 7", "ESResume 7"}));
    EXPECT_FALSE(player->GetPaused());
}

TEST_F(PreviewCommandsTest, PauseWhileNeitherPlayingNorPausedDoesNothing)
{
    pauseOrResume(scriptedPlayer(es::Stopped));
    EXPECT_EQ(calls(), Calls{"ESGetPlayerMode 7"});
}

TEST_F(PreviewCommandsTest, StopWhilePlayingStopsAndCloses)
{
    stopAndClose(scriptedPlayer(es::Playing));
    EXPECT_EQ(calls(), (Calls{"ESGetPlayerMode 7", "ESStop 7", "ESClose 7"}));
}

TEST_F(PreviewCommandsTest, StopWhilePausedOnlyClosesAndClearsThePause)
{
    TElPlayer* player = scriptedPlayer(es::Paused);
    player->Pause();
    calls().clear();
    stopAndClose(player);
    EXPECT_EQ(calls(), (Calls{"ESGetPlayerMode 7", "ESClose 7"}));
    EXPECT_FALSE(player->GetPaused());
}

class PreviewCommandsOnModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("CORVANE_AO_DRIVER", "null");
        player = setUpPreviewPlayer(manager, playerModuleFolder());
        ASSERT_NE(player, nullptr);
        a = encodeWithLame(dir, QStringLiteral("a.mp3"), makeWav(2 * 44100, 44100, 2));
        b = encodeWithLame(dir, QStringLiteral("b.mp3"), makeWav(2 * 44100, 44100, 2));
    }

    TempDir dir;
    TElPlayerMan manager;
    TElPlayer* player = nullptr;
    QString a;
    QString b;
};

TEST_F(PreviewCommandsOnModuleTest, StopKeepsTheNameOfTheLastFile)
{
    playSelected(player, a);
    EXPECT_EQ(player->GetPlayerMode(), es::Playing);
    stopAndClose(player);
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
    EXPECT_EQ(player->InputName(), a);
    stopAndClose(player);
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
}

TEST_F(PreviewCommandsOnModuleTest, PlayingAnotherFileReplacesTheFirst)
{
    playSelected(player, a);
    playSelected(player, b);
    EXPECT_EQ(player->GetPlayerMode(), es::Playing);
    EXPECT_EQ(player->InputName(), b);
}

TEST_F(PreviewCommandsOnModuleTest, PlayWhilePausedResumesThePausedFile)
{
    playSelected(player, a);
    pauseOrResume(player);
    EXPECT_EQ(player->GetPlayerMode(), es::Paused);
    playSelected(player, b);
    EXPECT_EQ(player->GetPlayerMode(), es::Playing);
    EXPECT_EQ(player->InputName(), a);
}

TEST_F(PreviewCommandsOnModuleTest, StopWhilePausedCloses)
{
    playSelected(player, a);
    pauseOrResume(player);
    stopAndClose(player);
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
    EXPECT_FALSE(player->GetPaused());
}

TEST_F(PreviewCommandsOnModuleTest, FileTheModuleCannotOpenReachesTheCaller)
{
    try {
        playSelected(player, dir.filePath(QStringLiteral("missing.mp3")));
        FAIL();
    } catch (const TElSException& e) {
        EXPECT_STREQ(e.what(), "Input stream failure");
    }
}

}  // namespace
