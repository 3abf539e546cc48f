// The player host against the scripted module: loading, the error rule, settings, texts, callbacks.

#include "ElSounds.h"
#include "TestModules.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class ElSoundsTest : public ::testing::Test {
protected:
    void load()
    {
        player->SetPathToDLL(moduleIn(fakeModuleFolder()));
        player->LoadModule();
        fake.state().calls.clear();
    }
    Calls& calls() { return fake.state().calls; }

    FakeModule fake;
    TElPlayerMan manager;
    TElPlayer* player = manager.Players()->Add();
};

TEST(TElSExceptionTest, EveryCodeHasItsMessage)
{
    const char* expected[] = {
        "No error",
        "Requested operation is not implemented in the decoder",
        "Incorrect decoder mode",
        "Internal decoder error",
        "Invalid object handle passed to decoder",
        "Input stream failure",
        "Output device failure",
        "Not enough memory to perform an operation",
        "Decoder failed to allocate resources",
        "One of callback functions needed to perform an operation not defined",
        "Failed to load or initialize decoder module",
        "Module not initialized",
    };
    for (std::uint8_t code = 0; code < 12; ++code) {
        const TElSException e(code);
        EXPECT_EQ(e.ErrorCode, code);
        EXPECT_STREQ(e.what(), expected[code]);
    }
}

TEST_F(ElSoundsTest, NewPlayerHasItsDefaults)
{
    EXPECT_EQ(player->BuffersCount(), 8);
    EXPECT_EQ(player->BufferSize(), 16384);
    EXPECT_EQ(player->OutputDevNum(), 0);
    EXPECT_EQ(player->InputMode(), imFile);
    EXPECT_EQ(player->OutputMode(), omMMSystem);
    EXPECT_EQ(player->StartPos(), 0);
    EXPECT_EQ(player->EndPos(), 0);
    EXPECT_EQ(player->Priority(), 0);
    EXPECT_FALSE(player->Initialized());
    EXPECT_FALSE(player->GetPaused());
    EXPECT_EQ(player->About(), "(Module not initialized)");
    EXPECT_EQ(player->ModuleName(), "(Module not initialized)");
    EXPECT_EQ(player->Version(), -1);
    EXPECT_EQ(player->Extensions(), "");
    EXPECT_NE(player->Window(), nullptr);
}

TEST_F(ElSoundsTest, LoadingStartsAnInstanceAndInstallsTheCallbacksWithThePlayer)
{
    player->SetPathToDLL(moduleIn(fakeModuleFolder()));
    player->LoadModule();
    EXPECT_EQ(calls(), (Calls{"ESInitModule", "ESSetOutCB 7", "ESSetInCB 7"}));
    EXPECT_TRUE(player->Initialized());
    EXPECT_EQ(fake.state().outputUserData, player);
    EXPECT_EQ(fake.state().inputUserData, player);
}

TEST_F(ElSoundsTest, MissingModuleFileFailsToLoad)
{
    for (const QString& path : {QStringLiteral("/nonexistent/dodid.esp"), QString()}) {
        player->SetPathToDLL(path);
        try {
            player->LoadModule();
            FAIL() << "loaded " << path.toStdString();
        } catch (const TElSException& e) {
            EXPECT_EQ(e.ErrorCode, 10);
            EXPECT_STREQ(e.what(), "Failed to load or initialize decoder module");
        }
        EXPECT_FALSE(player->Initialized());
    }
}

TEST_F(ElSoundsTest, ModuleWithoutOneEntryPointFailsToLoadEvenIfNeverCalled)
{
    player->SetPathToDLL(moduleIn(fakeWithoutEseqFolder()));
    try {
        player->LoadModule();
        FAIL();
    } catch (const TElSException& e) {
        EXPECT_STREQ(e.what(), "Failed to load or initialize decoder module");
    }
    EXPECT_FALSE(player->Initialized());
    EXPECT_EQ(raisedCode([&] { player->Open(); }), 11);
}

TEST_F(ElSoundsTest, ModuleWhoseInitAnswersZeroIsNotInitialized)
{
    player->SetPathToDLL(moduleIn(fakeInitFailsFolder()));
    try {
        player->LoadModule();
        FAIL();
    } catch (const TElSException& e) {
        EXPECT_EQ(e.ErrorCode, 11);
        EXPECT_STREQ(e.what(), "Module not initialized");
    }
    EXPECT_FALSE(player->Initialized());
}

TEST_F(ElSoundsTest, OperationsWithoutModuleRaiseNotInitialized)
{
    const std::vector<std::function<void()>> operations = {
        [&] { player->Open(); },         [&] { player->InitStream(); }, [&] { player->Play(); },
        [&] { player->Pause(); },        [&] { player->Resume(); },     [&] { player->Stop(); },
        [&] { player->Close(); },        [&] { player->GetPlayerMode(); }, [&] { player->GetVolume(); },
        [&] { player->HasEqualizer(); },
        [&] {
            bool canSet = false;
            player->CanSetVolume(canSet);
        },
    };
    for (const auto& operation : operations)
        EXPECT_EQ(raisedCode(operation), 11);
}

TEST_F(ElSoundsTest, SettersWithoutModuleOnlyStore)
{
    load();
    player->UnloadModule();
    calls().clear();
    player->SetInputMode(imCallback);
    player->SetInputName(QStringLiteral("/music/a.mp3"));
    player->SetOutputMode(omFile);
    player->SetOutputName(QStringLiteral("/tmp/out.wav"));
    player->SetStartPos(100);
    player->SetEndPos(900);
    player->SetPriority(2);
    player->SetBuffersCount(4);
    player->SetBufferSize(8192);
    player->SetOutputDevNum(-1);
    player->SetUseEqualizer(true);
    EXPECT_EQ(calls(), Calls{});
    EXPECT_EQ(player->InputMode(), imCallback);
    EXPECT_EQ(player->InputName(), "/music/a.mp3");
    EXPECT_EQ(player->OutputMode(), omFile);
    EXPECT_EQ(player->OutputName(), "/tmp/out.wav");
    EXPECT_EQ(player->StartPos(), 100);
    EXPECT_EQ(player->EndPos(), 900);
    EXPECT_EQ(player->Priority(), 2);
    EXPECT_EQ(player->BuffersCount(), 4);
    EXPECT_EQ(player->BufferSize(), 8192);
    EXPECT_EQ(player->OutputDevNum(), -1);
    EXPECT_TRUE(player->UseEqualizer());
}

TEST_F(ElSoundsTest, SettersWithModuleSendTheirValues)
{
    struct Case {
        std::function<void()> set;
        std::string call;
    };
    const Case cases[] = {
        {[&] { player->SetInputMode(imCallback); }, "ESSetInputMode 7 1"},
        {[&] { player->SetInputName(QStringLiteral("/music/a b.mp3")); }, "ESSetInputName 7 /music/a b.mp3"},
        {[&] { player->SetOutputMode(omCallback); }, "ESSetOutputMode 7 3"},
        {[&] { player->SetOutputName(QString()); }, "ESSetOutputName 7 "},
        {[&] { player->SetPriority(-2); }, "ESSetPriority 7 -2"},
        {[&] { player->SetStartPos(100); }, "ESSetLimits 7 100 0"},
        {[&] { player->SetEndPos(900); }, "ESSetLimits 7 100 900"},
        {[&] { player->SetBufferSize(8192); }, "ESSetBuffers 7 8 8192"},
        {[&] { player->SetBuffersCount(4); }, "ESSetBuffers 7 4 8192"},
        {[&] { player->SetOutputDevNum(-1); }, "ESSetDevNum 7 -1"},
    };
    load();
    for (const Case& c : cases) {
        calls().clear();
        c.set();
        EXPECT_EQ(calls(), Calls{c.call});
    }
}

TEST_F(ElSoundsTest, BufferSizeSetBeforeLoadingIsNotPassedOn)
{
    player->SetBufferSize(8192);
    player->SetPathToDLL(moduleIn(fakeModuleFolder()));
    player->LoadModule();
    EXPECT_EQ(calls(), (Calls{"ESInitModule", "ESSetOutCB 7", "ESSetInCB 7"}));
    EXPECT_EQ(player->BufferSize(), 8192);
}

TEST_F(ElSoundsTest, RefusedSettingRaisesWhateverTheCodeAndKeepsTheOldValue)
{
    load();
    player->SetInputName(QStringLiteral("/music/old.mp3"));
    fake.state().refused = {"ESSetInputName"};
    for (const int code : {0, 5}) {
        fake.state().lastError = code;
        try {
            player->SetInputName(QStringLiteral("/music/new.mp3"));
            FAIL();
        } catch (const TElSException& e) {
            EXPECT_EQ(e.ErrorCode, code);
            EXPECT_STREQ(e.what(), code == 0 ? "No error" : "Input stream failure");
        }
        EXPECT_EQ(player->LastError(), code);
        EXPECT_EQ(player->InputName(), "/music/old.mp3");
    }
}

TEST_F(ElSoundsTest, RefusedOperationRaisesOnlyAPositiveCode)
{
    load();
    fake.state().refused = {"ESOpen"};
    fake.state().lastError = 0;
    EXPECT_NO_THROW(player->Open());
    fake.state().lastError = -3;
    EXPECT_NO_THROW(player->Open());
    fake.state().lastError = 0x105;  // only the low byte counts
    EXPECT_EQ(raisedCode([&] { player->Open(); }), 5);
    EXPECT_EQ(player->LastError(), 0x105);
}

TEST_F(ElSoundsTest, EveryOperationFollowsTheOperationsRule)
{
    struct Case {
        const char* entryPoint;
        std::function<void()> operation;
    };
    const Case cases[] = {
        {"ESInitStream", [&] { player->InitStream(); }}, {"ESPlay", [&] { player->Play(); }},
        {"ESPause", [&] { player->Pause(); }},           {"ESResume", [&] { player->Resume(); }},
        {"ESStop", [&] { player->Stop(); }},             {"ESClose", [&] { player->Close(); }},
    };
    load();
    for (const Case& c : cases) {
        fake.state().refused = {c.entryPoint};
        fake.state().lastError = 0;
        EXPECT_EQ(raisedCode(c.operation), -1) << c.entryPoint;
        fake.state().lastError = 6;
        EXPECT_EQ(raisedCode(c.operation), 6) << c.entryPoint;
    }
}

TEST_F(ElSoundsTest, OpenAppliesTheSettingsAgainAndShrugsOffARefusedPriority)
{
    player->SetOutputMode(omFile);
    player->SetInputName(QStringLiteral("/music/a.mp3"));
    player->SetOutputName(QStringLiteral("/tmp/a.wav"));
    load();
    fake.state().refused = {"ESSetPriority"};
    fake.state().lastError = 3;
    player->Open();
    EXPECT_EQ(calls(), (Calls{"ESSetInputMode 7 0", "ESSetInputName 7 /music/a.mp3", "ESSetOutputMode 7 1",
                              "ESSetOutputName 7 /tmp/a.wav", "ESSetPriority 7 0", "ESLastError 7", "ESOpen 7"}));
}

TEST_F(ElSoundsTest, OpenEndsAtARefusedSetting)
{
    load();
    fake.state().refused = {"ESSetOutputMode"};
    fake.state().lastError = 2;
    EXPECT_EQ(raisedCode([&] { player->Open(); }), 2);
    EXPECT_EQ(std::count(calls().begin(), calls().end(), "ESOpen 7"), 0);
}

TEST_F(ElSoundsTest, InitStreamSendsTheDeviceNumberFirst)
{
    player->SetOutputDevNum(-1);
    load();
    player->InitStream();
    EXPECT_EQ(calls(), (Calls{"ESSetDevNum 7 -1", "ESInitStream 7"}));
}

TEST_F(ElSoundsTest, PlayHandsTheModulesVolumeBackWithItsHalvesSwapped)
{
    load();
    fake.state().volume = 0x22221111;
    player->Play();
    EXPECT_EQ(calls(), (Calls{"ESSetLimits 7 0 0", "ESSetLimits 7 0 0", "ESSetWindow 7", "ESUseOutCB 7 0", "ESPlay 7",
                              "ESCanSetVolume 7", "ESGetVolume 7", "ESSetVolume 7 " + std::to_string(0x11112222u)}));
}

TEST_F(ElSoundsTest, PlayUsesTheOutputCallbacksOnlyWhenAllThreeEventsAreAssigned)
{
    load();
    player->OnOutput = [](TElPlayer*, void*, int, int, int, int, bool&) {};
    player->Play();
    EXPECT_EQ(calls().at(3), "ESUseOutCB 7 0");
    player->OnOutputInit = [](TElPlayer*, bool&) {};
    player->OnOutputDone = [](TElPlayer*, bool&) {};
    calls().clear();
    player->Play();
    EXPECT_EQ(calls().at(3), "ESUseOutCB 7 1");
}

TEST_F(ElSoundsTest, PlayEndsWhenTheModuleRefusesToPlay)
{
    load();
    fake.state().refused = {"ESPlay"};
    player->Play();
    EXPECT_EQ(calls().back(), "ESLastError 7");
}

TEST_F(ElSoundsTest, PlayLeavesTheVolumeAloneWhenItCannotBeSet)
{
    load();
    fake.state().canSetVolume = false;
    player->Play();
    EXPECT_EQ(calls().back(), "ESCanSetVolume 7");
}

TEST_F(ElSoundsTest, PauseSetsAndResumeStopCloseClearThePausedFlag)
{
    load();
    const std::vector<std::function<void()>> clearing = {[&] { player->Resume(); }, [&] { player->Stop(); },
                                                         [&] { player->Close(); }};
    for (const auto& clear : clearing) {
        player->Pause();
        EXPECT_TRUE(player->GetPaused());
        clear();
        EXPECT_FALSE(player->GetPaused());
    }
}

TEST_F(ElSoundsTest, RefusedPauseOrResumeLeavesThePausedFlag)
{
    load();
    fake.state().refused = {"ESPause"};
    player->Pause();
    EXPECT_FALSE(player->GetPaused());
    fake.state().refused = {"ESResume"};
    player->Pause();
    player->Resume();
    EXPECT_TRUE(player->GetPaused());
}

TEST_F(ElSoundsTest, GetVolumeAnswersTheLowHalf)
{
    load();
    fake.state().volume = 0x00020001;
    EXPECT_EQ(player->GetVolume(), 1);
}

TEST_F(ElSoundsTest, RefusedGetVolumeRaisesOnlyForLiveOutput)
{
    load();
    fake.state().refused = {"ESGetVolume"};
    player->SetOutputMode(omFile);
    EXPECT_EQ(player->GetVolume(), 0);
    player->SetOutputMode(omMMSystem);
    EXPECT_EQ(raisedCode([&] { player->GetVolume(); }), 0);
}

TEST_F(ElSoundsTest, ModuleTextsComeThroughTwoCalls)
{
    load();
    EXPECT_EQ(player->ModuleName(), "Fake module");
    EXPECT_EQ(calls(), (Calls{"ESGetName -1", "ESGetName 12"}));
    EXPECT_EQ(player->About(), "About the fake");
    EXPECT_EQ(player->Extensions(), "*.mp3");
    EXPECT_EQ(player->Version(), 0x0203);
}

TEST_F(ElSoundsTest, EmptyModuleTextGivesTheEmptyText)
{
    load();
    fake.state().name.clear();
    EXPECT_EQ(player->ModuleName(), "");
    EXPECT_EQ(calls(), (Calls{"ESGetName -1", "ESGetName 1"}));
}

TEST_F(ElSoundsTest, RefusedModuleTextsGiveTheirFallbacks)
{
    load();
    fake.state().refused = {"ESGetName", "ESGetAbout", "ESGetExts"};
    EXPECT_EQ(player->ModuleName(), "Unknown module");
    EXPECT_EQ(player->About(), "Unknown module ... ");
    EXPECT_EQ(player->Extensions(), "");
}

TEST_F(ElSoundsTest, UseEqualizerNeedsAnEqualizer)
{
    load();
    player->SetUseEqualizer(true);
    EXPECT_FALSE(player->UseEqualizer());
    EXPECT_EQ(calls(), Calls{"ESHasEQ 7"});
    fake.state().hasEqualizer = true;
    calls().clear();
    player->SetUseEqualizer(true);
    EXPECT_TRUE(player->UseEqualizer());
    EXPECT_EQ(calls(), (Calls{"ESHasEQ 7", "ESUseEQ 7 1"}));
}

TEST_F(ElSoundsTest, InitializedLoadsAndUnloadsOnlyOnChange)
{
    player->SetPathToDLL(moduleIn(fakeModuleFolder()));
    player->SetInitialized(true);
    player->SetInitialized(true);
    EXPECT_EQ(std::count(calls().begin(), calls().end(), "ESInitModule"), 1);
    player->SetInitialized(false);
    player->SetInitialized(false);
    EXPECT_EQ(std::count(calls().begin(), calls().end(), "ESDeInitModule 7"), 1);
    EXPECT_FALSE(player->Initialized());
}

TEST_F(ElSoundsTest, LoadingAgainReleasesTheFirstInstance)
{
    load();
    player->LoadModule();
    EXPECT_EQ(calls(), (Calls{"ESDeInitModule 7", "ESInitModule", "ESSetOutCB 7", "ESSetInCB 7"}));
}

TEST_F(ElSoundsTest, DestroyingThePlayerUnloadsItsModule)
{
    load();
    manager.Players()->Delete(player);
    EXPECT_EQ(calls(), Calls{"ESDeInitModule 7"});
    EXPECT_EQ(manager.Players()->Count(), 0);
}

TEST_F(ElSoundsTest, CallbacksWithoutHandlersAnswerFalse)
{
    load();
    FakeModuleState& s = fake.state();
    std::int32_t number = 0;
    es::Bool flag = 0;
    char buffer[4];
    EXPECT_EQ(s.outputProc(buffer, 16, 2, 44100, 4, s.outputUserData), 0);
    EXPECT_EQ(s.actionProc(1, s.outputUserData), 0);
    EXPECT_EQ(s.actionProc(0, s.outputUserData), 0);
    EXPECT_EQ(s.openProc(s.inputUserData, &number, &flag), 0);
    EXPECT_EQ(s.closeProc(s.inputUserData, 0), 0);
    EXPECT_EQ(s.getSizeProc(s.inputUserData, 0, &number), 0);
    EXPECT_EQ(s.seekProc(s.inputUserData, 0, &number, es::SeekFromStart), 0);
    EXPECT_EQ(s.readProc(s.inputUserData, 0, buffer, 4, &number), 0);
}

TEST_F(ElSoundsTest, CallbacksAnswerTheirPresetWhenTheHandlerLeavesItAlone)
{
    load();
    player->OnOutputInit = [](TElPlayer*, bool&) {};
    player->OnOutputDone = [](TElPlayer*, bool&) {};
    player->OnOutput = [](TElPlayer*, void*, int, int, int, int, bool&) {};
    player->OnInputOpen = [](TElPlayer*, int&, bool&, bool&) {};
    player->OnInputClose = [](TElPlayer*, int, bool&) {};
    player->OnInputGetSize = [](TElPlayer*, int, int&, bool&) {};
    player->OnInputSeek = [](TElPlayer*, int, int&, int, bool&) {};
    player->OnInputRead = [](TElPlayer*, int, void*, int, int&, bool&) {};
    FakeModuleState& s = fake.state();
    std::int32_t number = 0;
    es::Bool flag = 0;
    char buffer[4];
    EXPECT_EQ(s.outputProc(buffer, 16, 2, 44100, 4, s.outputUserData), 1);
    EXPECT_EQ(s.actionProc(1, s.outputUserData), 1);
    EXPECT_EQ(s.actionProc(0, s.outputUserData), 1);
    EXPECT_EQ(s.openProc(s.inputUserData, &number, &flag), 0);
    EXPECT_EQ(s.closeProc(s.inputUserData, 0), 1);
    EXPECT_EQ(s.getSizeProc(s.inputUserData, 0, &number), 0);
    EXPECT_EQ(s.seekProc(s.inputUserData, 0, &number, es::SeekFromStart), 0);
    EXPECT_EQ(s.readProc(s.inputUserData, 0, buffer, 4, &number), 0);
}

TEST_F(ElSoundsTest, OutputActionCallbackTellsTheStartFromTheEnd)
{
    load();
    TElPlayer* started = nullptr;
    player->OnOutputInit = [&](TElPlayer* sender, bool&) { started = sender; };
    EXPECT_EQ(fake.state().actionProc(1, fake.state().outputUserData), 1);
    EXPECT_EQ(fake.state().actionProc(0, fake.state().outputUserData), 0);
    EXPECT_EQ(started, player);
}

TEST_F(ElSoundsTest, CallbacksHandTheirArgumentsToTheHandlers)
{
    load();
    TElPlayer* sender = nullptr;
    player->OnInputOpen = [&](TElPlayer* s, int& userData, bool& canSetPos, bool& success) {
        sender = s;
        userData = 42;
        canSetPos = true;
        success = true;
    };
    player->OnInputRead = [&](TElPlayer*, int userData, void* buffer, int bytesToRead, int& bytesRead, bool& success) {
        std::memset(buffer, 'x', std::size_t(bytesToRead));
        bytesRead = bytesToRead + userData;
        success = true;
    };
    player->OnOutput = [&](TElPlayer*, void*, int sBits, int channels, int sampleRate, int size, bool& success) {
        success = sBits == 16 && channels == 2 && sampleRate == 44100 && size == 4;
    };
    FakeModuleState& s = fake.state();
    std::int32_t userData = 0;
    es::Bool canSetPos = 0;
    EXPECT_EQ(s.openProc(s.inputUserData, &userData, &canSetPos), 1);
    EXPECT_EQ(sender, player);
    EXPECT_EQ(userData, 42);
    EXPECT_EQ(canSetPos, 1);
    char buffer[3] = {};
    std::int32_t read = 0;
    EXPECT_EQ(s.readProc(s.inputUserData, 1, buffer, 2, &read), 1);
    EXPECT_EQ(read, 3);
    EXPECT_EQ(std::string(buffer), "xx");
    EXPECT_EQ(s.outputProc(buffer, 16, 2, 44100, 4, s.outputUserData), 1);
    EXPECT_EQ(s.outputProc(buffer, 16, 1, 44100, 4, s.outputUserData), 0);
}

TEST_F(ElSoundsTest, HandlerThatThrowsAnswersFalse)
{
    load();
    player->OnOutputInit = [](TElPlayer*, bool&) { throw std::runtime_error("broken handler"); };
    EXPECT_EQ(fake.state().actionProc(1, fake.state().outputUserData), 0);
}

TEST_F(ElSoundsTest, CollectionCopiesSettingsIntoItsItems)
{
    TElPlayer* source = manager.Players()->Add();
    source->SetInputName(QStringLiteral("/music/a.mp3"));
    source->SetOutputMode(omFile);
    source->SetBufferSize(4096);
    manager.Players()->SetItems(0, *source);
    EXPECT_EQ(manager.Players()->GetItems(0), player);
    EXPECT_EQ(player->InputName(), "/music/a.mp3");
    EXPECT_EQ(player->OutputMode(), omFile);
    EXPECT_EQ(player->BufferSize(), 4096);
    EXPECT_EQ(manager.Players()->Owner(), &manager);

    TElPlayerMan other;
    other.SetPlayers(manager.Players());
    ASSERT_EQ(other.Players()->Count(), 2);
    EXPECT_EQ(other.Players()->GetItems(1)->BufferSize(), 4096);
    EXPECT_EQ(other.Players()->GetItems(1)->Collection(), other.Players());
}

}  // namespace
