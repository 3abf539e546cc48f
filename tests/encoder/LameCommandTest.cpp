#include "LameCommand.h"

#include <gtest/gtest.h>

namespace {

const QString input = QStringLiteral("/music/in/song.wav");
const QString folder = QStringLiteral("/music/out/");

QString encodeText(const EncodeOptions& options)
{
    return lameParameters(encodeCommand(options, input, folder));
}

}  // namespace

TEST(LameCommand, DefaultsGiveConstant192HighQualityStereoAndTheOriginalSwitch)
{
    EXPECT_EQ(encodeText(EncodeOptions()), R"(-b 192 -h -m s -o "/music/in/song.wav" "/music/out/song.mp3")");
}

TEST(LameCommand, SwitchesFollowTheOptionsInTheirFixedOrder)
{
    struct Case {
        const char* name;
        void (*change)(EncodeOptions&);
        const char* expected;
    };
    const Case cases[] = {
        {"variable, normal quality", [](EncodeOptions& o) { o.constantBitrate = false; o.highQuality = false; },
         "-b 64 -V 4 -m s -o "},
        {"variable, high quality", [](EncodeOptions& o) { o.constantBitrate = false; }, "-b 64 -h -V 0 -m s -o "},
        {"constant, normal quality", [](EncodeOptions& o) { o.highQuality = false; }, "-b 192 -m s -o "},
        {"original", [](EncodeOptions& o) { o.original = true; }, "-b 192 -h -m s "},
        {"copyright", [](EncodeOptions& o) { o.copyright = true; }, "-b 192 -h -m s -c -o "},
        {"crc", [](EncodeOptions& o) { o.crc = true; }, "-b 192 -h -m s -o -p "},
        {"all options", [](EncodeOptions& o) { o.copyright = o.original = o.crc = true; }, "-b 192 -h -m s -c -p "},
        {"joint", [](EncodeOptions& o) { o.mode = EncodeMode::Joint; }, "-b 192 -h -m j -o "},
        {"dual", [](EncodeOptions& o) { o.mode = EncodeMode::Dual; }, "-b 192 -h -m d -o "},
        {"mono at 96", [](EncodeOptions& o) { o.mode = EncodeMode::Mono; o.bitrate = "96"; }, "-b 96 -h -m m -o "},
        {"variable minimum 32", [](EncodeOptions& o) { o.constantBitrate = false; o.vbrMinBitrate = "32"; },
         "-b 32 -h -V 0 -m s -o "},
    };
    for (const Case& c : cases) {
        EncodeOptions options;
        c.change(options);
        EXPECT_EQ(encodeText(options), QString(c.expected) + R"("/music/in/song.wav" "/music/out/song.mp3")")
            << c.name;
    }
}

TEST(LameCommand, DecodingHasOnlyTheDecodeSwitchAndAWavOutput)
{
    EXPECT_EQ(lameParameters(decodeCommand("/music/song.mp3", folder)),
              R"(--decode "/music/song.mp3" "/music/out/song.wav")");
    EXPECT_EQ(lameParameters(decodeCommand("/music/SONG.MP2", folder)),
              R"(--decode "/music/SONG.MP2" "/music/out/SONG.wav")");
}

TEST(LameCommand, OutputNameDropsTheLastFourCharactersOfTheInputName)
{
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"/a/song.wav", "/out/song.mp3"},
        {"/a/song.wave", "/out/song..mp3"},
        {"/a/abc", "/out/.mp3"},
        {"/a/ab", "/out/.mp3"},
        {"/a.b/track", "/out/t.mp3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outputPath(c.input, "/out/", ".mp3"), c.expected) << c.input;
}

TEST(LameCommand, ArgumentsKeepPathsWholeWhateverTheyHold)
{
    const LameCommand command =
        encodeCommand(EncodeOptions(), R"(/my music/say "hi" now.wav)", "/out folder/");
    EXPECT_EQ(lameArguments(command),
              QStringList({"-b", "192", "-h", "-m", "s", "-o", R"(/my music/say "hi" now.wav)",
                           R"(/out folder/say "hi" now.mp3)"}));
    EXPECT_EQ(lameParameters(command),
              R"(-b 192 -h -m s -o "/my music/say "hi" now.wav" "/out folder/say "hi" now.mp3")");
    EXPECT_EQ(lameArguments(decodeCommand("/a b/c.mp3", "/d/")), QStringList({"--decode", "/a b/c.mp3", "/d/c.wav"}));
}
