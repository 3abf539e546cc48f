// The player module the project builds, driven through the player host: decoding a lame-encoded
// file, the player modes, failures, texts, callbacks and the volume hand-back.

#include "ElSounds.h"
#include "TempDir.h"
#include "TestModules.h"

#include <QFile>
#include <QThread>
#include <QtEndian>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

#define MODULE_ENTRY(name) entryPoint<decltype(&name)>(#name)

constexpr int rate = 44100;

class PlayerModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("CORVANE_AO_DRIVER", "null");
        player->SetPathToDLL(moduleIn(playerModuleFolder()));
        player->LoadModule();
        module = dlopen(moduleIn(playerModuleFolder()).toLocal8Bit().constData(), RTLD_NOW);
    }
    void TearDown() override { dlclose(module); }

    // An entry point of the module, called directly beside the player.
    template <typename EntryPoint>
    EntryPoint entryPoint(const char* name)
    {
        return reinterpret_cast<EntryPoint>(dlsym(module, name));
    }

    // The player's instance is the only one alive: the one handle the module answers for.
    es::Handle playersInstance()
    {
        const auto lastError = MODULE_ENTRY(ESLastError);
        es::Handle instance = 1;
        while (instance < 1000 && lastError(instance) == es::InvalidHandle)
            ++instance;
        return instance;
    }

    QString song(const QString& name, int frames, int channels = 2)
    {
        return encodeWithLame(dir, name, makeWav(frames, rate, channels));
    }

    void start(const QString& input)
    {
        player->SetInputName(input);
        player->Open();
        player->InitStream();
        player->Play();
    }

    // Playback into a file ends on its own; waits for that, a few seconds at most.
    void waitForEnd()
    {
        for (int i = 0; i < 500 && player->GetPlayerMode() == es::Playing; ++i)
            QThread::msleep(10);
        EXPECT_EQ(player->GetPlayerMode(), es::Stopped);
    }

    TempDir dir;
    TElPlayerMan manager;
    TElPlayer* player = manager.Players()->Add();
    void* module = nullptr;
};

TEST_F(PlayerModuleTest, PlaysALameFileIntoAWavHoldingEverySampleThatWasEncoded)
{
    const int frames = 3 * rate / 2;
    player->SetOutputMode(omFile);
    player->SetOutputName(dir.filePath(QStringLiteral("out.wav")));
    start(song(QStringLiteral("tone.mp3"), frames));
    waitForEnd();
    player->Close();

    // lame records its encoder delay and padding in the file's first frame; gapless decoding
    // removes both, so exactly the encoded samples come back.
    const WavData wav = readWav(readAll(dir.filePath(QStringLiteral("out.wav"))));
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.rate, rate);
    EXPECT_EQ(wav.bits, 16);
    EXPECT_EQ(wav.declaredBytes, wav.samples.size());
    EXPECT_EQ(wav.samples.size(), qint64(frames) * 2 * 2);
}

TEST_F(PlayerModuleTest, DecodedSamplesCarryTheTone)
{
    player->SetOutputMode(omFile);
    player->SetOutputName(dir.filePath(QStringLiteral("out.wav")));
    start(song(QStringLiteral("tone.mp3"), rate / 2, 1));
    waitForEnd();
    player->Close();
    const WavData wav = readWav(readAll(dir.filePath(QStringLiteral("out.wav"))));
    ASSERT_EQ(wav.channels, 1);
    int loudest = 0;
    for (qsizetype i = 0; i + 1 < wav.samples.size(); i += 2)
        loudest = std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(wav.samples.constData() + i))));
    EXPECT_NEAR(loudest, 8000, 800);
}

TEST_F(PlayerModuleTest, EndPositionCutsPlaybackShort)
{
    player->SetOutputMode(omFile);
    player->SetOutputName(dir.filePath(QStringLiteral("out.wav")));
    player->SetEndPos(500);
    start(song(QStringLiteral("tone.mp3"), 2 * rate));
    waitForEnd();
    player->Close();
    EXPECT_EQ(readWav(readAll(dir.filePath(QStringLiteral("out.wav")))).samples.size(), qint64(rate / 2) * 2 * 2);
}

TEST_F(PlayerModuleTest, PauseResumeStopAndCloseMoveTheModes)
{
    start(song(QStringLiteral("tone.mp3"), 4 * rate));
    EXPECT_EQ(player->GetPlayerMode(), es::Playing);
    player->Pause();
    EXPECT_EQ(player->GetPlayerMode(), es::Paused);
    EXPECT_TRUE(player->GetPaused());
    player->Resume();
    EXPECT_EQ(player->GetPlayerMode(), es::Playing);
    EXPECT_FALSE(player->GetPaused());
    player->Pause();
    player->Stop();
    EXPECT_EQ(player->GetPlayerMode(), es::Stopped);
    EXPECT_FALSE(player->GetPaused());
    player->Close();
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
}

TEST_F(PlayerModuleTest, CloseWithNothingOpenIsHarmless)
{
    EXPECT_NO_THROW(player->Close());
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
}

TEST_F(PlayerModuleTest, PauseWhileNotPlayingIsRefusedAsIncorrectMode)
{
    EXPECT_EQ(raisedCode([&] { player->Pause(); }), 2);
    EXPECT_FALSE(player->GetPaused());
}

TEST_F(PlayerModuleTest, OpeningAMissingFileRaisesTheInputFailure)
{
    player->SetInputName(dir.filePath(QStringLiteral("missing.mp3")));
    try {
        player->Open();
        FAIL();
    } catch (const TElSException& e) {
        EXPECT_EQ(e.ErrorCode, 5);
        EXPECT_STREQ(e.what(), "Input stream failure");
    }
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
}

TEST_F(PlayerModuleTest, OpeningAFileWithoutAudioRaisesTheInputFailure)
{
    player->SetInputName(dir.write(QStringLiteral("notes.mp3"), QByteArray(5000, 'x')));
    EXPECT_EQ(raisedCode([&] { player->Open(); }), 5);
}

TEST_F(PlayerModuleTest, FileOutputIntoAMissingFolderRaisesTheOutputFailure)
{
    player->SetOutputMode(omFile);
    player->SetOutputName(dir.filePath(QStringLiteral("no/such/folder/out.wav")));
    player->SetInputName(song(QStringLiteral("tone.mp3"), rate / 10));
    player->Open();
    EXPECT_EQ(raisedCode([&] { player->InitStream(); }), 6);
}

TEST_F(PlayerModuleTest, TextsComeBackThroughTwoCalls)
{
    EXPECT_EQ(player->ModuleName(), "Corvane MPEG audio player");
    EXPECT_TRUE(player->About().startsWith("Plays MPEG audio"));
    EXPECT_EQ(player->Extensions(), "*.mp3;*.mp2;*.mp1");
    EXPECT_GT(player->Version(), 0);
}

TEST_F(PlayerModuleTest, TextIsCutToTheBufferItIsGiven)
{
    const auto getName = MODULE_ENTRY(ESGetName);
    char buffer[6] = "?????";
    std::int32_t length = 5;
    EXPECT_EQ(getName(buffer, &length), 1);
    EXPECT_STREQ(buffer, "Corv");
}

TEST_F(PlayerModuleTest, PlayHandsTheVolumeBackUnchanged)
{
    const auto setVolume = MODULE_ENTRY(ESSetVolume);
    const auto getVolume = MODULE_ENTRY(ESGetVolume);
    const es::Handle instance = playersInstance();
    ASSERT_EQ(setVolume(instance, 0x10002000), 1);  // left 0x1000, right 0x2000
    std::uint32_t before = 0;
    getVolume(instance, &before);
    EXPECT_EQ(before, 0x20001000u);
    start(song(QStringLiteral("tone.mp3"), rate));
    std::uint32_t after = 0;
    getVolume(instance, &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(player->GetVolume(), 0x1000);
}

TEST_F(PlayerModuleTest, EntryPointsTheProgramNeverCallsAnswerSensibly)
{
    const es::Handle instance = playersInstance();
    start(song(QStringLiteral("tone.mp3"), 2 * rate));
    es::Bool can = 2;
    EXPECT_EQ(MODULE_ENTRY(ESCanPause)(instance, &can), 1);
    EXPECT_EQ(can, 1);
    EXPECT_EQ(MODULE_ENTRY(ESCanSetPos)(instance, &can), 1);
    EXPECT_EQ(can, 0);
    EXPECT_EQ(MODULE_ENTRY(ESSetPos)(instance, 1000), 0);
    EXPECT_EQ(MODULE_ENTRY(ESLastError)(instance), es::NotImplemented);
    std::int32_t milliseconds = -1;
    EXPECT_EQ(MODULE_ENTRY(ESGetPos)(instance, &milliseconds), 1);
    EXPECT_GE(milliseconds, 0);
    EXPECT_LT(milliseconds, 2000);
    EXPECT_EQ(MODULE_ENTRY(ESGetSize)(instance, &milliseconds), 1);
    EXPECT_NEAR(milliseconds, 2000, 50);
    std::int32_t sampleRate = 0, channels = 0, bits = 0;
    EXPECT_EQ(MODULE_ENTRY(ESGetInfo1)(instance, &sampleRate, &channels, &bits), 1);
    EXPECT_EQ(sampleRate, rate);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(bits, 16);
    std::int32_t bitrate = 0, layer = 0;
    EXPECT_EQ(MODULE_ENTRY(ESGetInfo2)(instance, &bitrate, &layer), 1);
    EXPECT_EQ(bitrate, 128);
    EXPECT_EQ(layer, 3);
    EXPECT_EQ(MODULE_ENTRY(ESSetOutputDev)(instance, ""), 1);
    EXPECT_EQ(MODULE_ENTRY(ESEQ)(instance, 0, 0), 0);
    EXPECT_EQ(MODULE_ENTRY(ESOpen)(0), 0);
    EXPECT_EQ(MODULE_ENTRY(ESLastError)(0), es::InvalidHandle);
}

TEST_F(PlayerModuleTest, CallbackInputAndOutputCarryTheWholeSong)
{
    const int frames = rate;
    QFile file(song(QStringLiteral("tone.mp3"), frames));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    player->OnInputOpen = [&](TElPlayer*, int& userData, bool& canSetPos, bool& success) {
        userData = 5;
        canSetPos = true;
        success = file.seek(0);
    };
    player->OnInputClose = [](TElPlayer*, int, bool& success) { success = true; };
    player->OnInputGetSize = [&](TElPlayer*, int, int& size, bool& success) {
        size = int(file.size());
        success = true;
    };
    player->OnInputSeek = [&](TElPlayer*, int userData, int& newPos, int seekMode, bool& success) {
        const qint64 base = seekMode == es::SeekFromCurrent ? file.pos()
                          : seekMode == es::SeekFromEnd   ? file.size()
                                                          : 0;
        success = userData == 5 && file.seek(base + newPos);
        newPos = int(file.pos());
    };
    player->OnInputRead = [&](TElPlayer*, int userData, void* buffer, int bytesToRead, int& bytesRead,
                              bool& success) {
        bytesRead = int(file.read(static_cast<char*>(buffer), bytesToRead));
        success = userData == 5 && bytesRead >= 0;
    };
    std::atomic<qint64> bytes{0};
    std::atomic<int> inits{0};
    std::atomic<int> dones{0};
    player->OnOutputInit = [&](TElPlayer*, bool&) { ++inits; };
    player->OnOutputDone = [&](TElPlayer*, bool&) { ++dones; };
    player->OnOutput = [&](TElPlayer*, void*, int sBits, int channels, int sampleRate, int size, bool& success) {
        success = sBits == 16 && channels == 2 && sampleRate == rate;
        bytes += size;
    };
    player->SetInputMode(imCallback);
    player->SetOutputMode(omCallback);
    start(QString());
    waitForEnd();
    player->Close();
    EXPECT_EQ(bytes, qint64(frames) * 2 * 2);
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(dones, 1);
}

TEST_F(PlayerModuleTest, CallbackInputWithoutHandlersRaisesTheInputFailure)
{
    player->SetInputMode(imCallback);
    EXPECT_EQ(raisedCode([&] { player->Open(); }), 5);
}

TEST_F(PlayerModuleTest, CallbackOutputWithoutHandlersIsRefusedAtPlay)
{
    player->SetOutputMode(omCallback);
    player->SetInputName(song(QStringLiteral("tone.mp3"), rate / 10));
    player->Open();
    player->InitStream();
    EXPECT_EQ(raisedCode([&] { player->Play(); }), 9);
}

TEST_F(PlayerModuleTest, UnknownLiveDriverFallsBackToSilentOutput)
{
    qputenv("CORVANE_AO_DRIVER", "no-such-driver");
    start(song(QStringLiteral("tone.mp3"), 2 * rate));
    EXPECT_EQ(player->GetPlayerMode(), es::Playing);
    player->Close();
}

// Counts what reaches the output callbacks; each buffer takes a little while, as a slow consumer would.
struct OutputCounter {
    explicit OutputCounter(TElPlayer& player)
    {
        player.OnOutputInit = [](TElPlayer*, bool&) {};
        player.OnOutputDone = [this](TElPlayer*, bool&) { ++dones; };
        player.OnOutput = [this](TElPlayer*, void*, int, int, int, int, bool&) {
            ++buffers;
            QThread::msleep(5);
        };
        player.SetOutputMode(omCallback);
    }
    std::atomic<int> buffers{0};
    std::atomic<int> dones{0};
};

TEST_F(PlayerModuleTest, CloseWhilePlayingEndsTheOutputBeforeItReturns)
{
    OutputCounter counter(*player);
    start(song(QStringLiteral("tone.mp3"), 4 * rate));
    player->Close();
    const int heard = counter.buffers;
    EXPECT_EQ(counter.dones, 1);
    QThread::msleep(50);
    EXPECT_EQ(counter.buffers, heard);
    EXPECT_EQ(player->GetPlayerMode(), es::Closed);
}

TEST_F(PlayerModuleTest, UnloadingWhilePausedEndsTheOutputBeforeItReturns)
{
    OutputCounter counter(*player);
    start(song(QStringLiteral("tone.mp3"), 4 * rate));
    player->Pause();
    player->UnloadModule();
    const int heard = counter.buffers;
    EXPECT_EQ(counter.dones, 1);
    QThread::msleep(50);
    EXPECT_EQ(counter.buffers, heard);
    EXPECT_FALSE(player->Initialized());
}

TEST_F(PlayerModuleTest, ReplayThatCannotRewindLeavesTheModuleStopped)
{
    QFile file(song(QStringLiteral("tone.mp3"), rate / 10));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    player->OnInputOpen = [](TElPlayer*, int&, bool& canSetPos, bool& success) {
        canSetPos = false;
        success = true;
    };
    player->OnInputClose = [](TElPlayer*, int, bool& success) { success = true; };
    player->OnInputGetSize = [](TElPlayer*, int, int&, bool& success) { success = false; };
    player->OnInputSeek = [](TElPlayer*, int, int&, int, bool& success) { success = false; };
    player->OnInputRead = [&](TElPlayer*, int, void* buffer, int bytesToRead, int& bytesRead, bool& success) {
        bytesRead = int(file.read(static_cast<char*>(buffer), bytesToRead));
        success = bytesRead >= 0;
    };
    player->SetInputMode(imCallback);
    player->SetOutputMode(omFile);
    player->SetOutputName(dir.filePath(QStringLiteral("out.wav")));
    start(QString());
    waitForEnd();
    EXPECT_EQ(raisedCode([&] { player->Play(); }), 5);
    EXPECT_EQ(player->GetPlayerMode(), es::Stopped);
    player->Close();
}

}  // namespace
