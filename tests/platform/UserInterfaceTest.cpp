#include "ProgramFolder.h"
#include "ScriptedUserInterface.h"

#include <gtest/gtest.h>

TEST(UserInterface, MessagesCarryTheApplicationTitleAndAnswersComeFromTheQueue)
{
    ScriptedUserInterface script;
    script.answers.push_back(ui::Answer::No);
    EXPECT_FALSE(ui::askYesNo("Delete?"));
    EXPECT_TRUE(ui::askYesNo("Again?"));
    ui::showMessage("Broken.", ui::Icon::Warning);

    ASSERT_EQ(script.messages.size(), 3);
    EXPECT_EQ(script.messages[0].title, "Corvane");
    EXPECT_EQ(script.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(script.messages[2].text, "Broken.");
    EXPECT_EQ(script.messages[2].icon, ui::Icon::Warning);
    EXPECT_EQ(script.messages[2].buttons, ui::Buttons::Ok);
}

TEST(ProgramFolder, AnOverrideEndsWithOneSlash)
{
    setProgramFolder("/tmp/somewhere");
    EXPECT_EQ(programFolder(), "/tmp/somewhere/");
    setProgramFolder("");
    EXPECT_TRUE(programFolder().endsWith('/'));
}
