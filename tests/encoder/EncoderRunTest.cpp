#include "EncoderRun.h"
#include "EncoderTestSupport.h"
#include "ScriptedUserInterface.h"

#include <QFileInfo>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(EncoderRun, AFileWhoseWorkFailsIsReportedAndTheNextFollows)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::Lame);
    const TempDir files;
    const QString broken = files.write("broken.wav", {});
    const QString good = files.write("good.wav", sineWav(4410));
    QWidget owner;

    runLame(&owner, {broken, good}, {"Encoding", "encode"}, [&](const QString& input) {
        if (input == broken)
            throw std::runtime_error("no command for this file");
        return encodeCommand(EncodeOptions(), input, files.path() + "/");
    });

    EXPECT_EQ(script.texts(), QStringList({"Cannot encode 'broken.wav'."}));
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_TRUE(QFileInfo(files.filePath("good.mp3")).size() > 0);
}
