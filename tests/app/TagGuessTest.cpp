#include "TagGuess.h"

#include <gtest/gtest.h>

namespace {

struct Example {
    const char* format;
    const char* fileName;
    QList<GuessedValue> expected;
};

// The instance's name in test listings: its format and file name, the same in every build.
void PrintTo(const Example& example, std::ostream* out)
{
    *out << example.format << " on " << example.fileName;
}

class TagGuessTest : public ::testing::TestWithParam<Example> {};

TEST_P(TagGuessTest, SplitsTheNameByTheFormat)
{
    const Example& example = GetParam();
    const QList<GuessedValue> values = guessFromFileName(example.format, example.fileName);
    ASSERT_EQ(values.size(), example.expected.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].placeholder, example.expected[i].placeholder);
        EXPECT_EQ(values[i].value, example.expected[i].value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TagGuessTest,
    ::testing::Values(
        Example{"#ARTIST# - #TITLE#", "/music/Abba - Waterloo.mp3", {{"#ARTIST#", "Abba"}, {"#TITLE#", "Waterloo"}}},
        Example{"#TRACK# - #ARTIST# - #TITLE#", "07 - Abba - Waterloo.mp3",
                {{"#TRACK#", "07"}, {"#ARTIST#", "Abba"}, {"#TITLE#", "Waterloo"}}},
        Example{"#TRACK#. #TITLE#", "123. Song.mp3", {{"#TRACK#", "123"}, {"#TITLE#", "Song"}}},
        Example{"#ARTIST# - #TITLE#", "Abba_Waterloo.mp3", {{"#ARTIST#", "Abba Waterloo"}, {"#TITLE#", ""}}},
        Example{"#ARTIST# - #TITLE# (live)", "Abba - Waterloo (live).mp3",
                {{"#ARTIST#", "Abba"}, {"#TITLE#", "Waterloo (live)"}}},
        Example{"Track #TRACK# - #TITLE#", "Track 5 - Intro.mp3", {{"#TRACK#", ""}, {"#TITLE#", "5"}}},
        Example{"#ARTIST##TITLE#", "AbbaWaterloo.mp3", {{"#ARTIST#", "AbbaWaterloo"}, {"#TITLE#", ""}}},
        Example{"#YEAR# - #TITLE#", "1974 - Waterloo.mp3", {{"#YEAR#", "1974"}, {"#TITLE#", "Waterloo"}}},
        Example{"#ARTIST# - #", "Abba - Waterloo.mp3", {{"#ARTIST#", "Abba"}, {"#", "Waterloo"}}},
        Example{"no placeholder", "Abba - Waterloo.mp3", {}},
        Example{"#TITLE#", "a.b", {{"#TITLE#", ""}}}));

}  // namespace
