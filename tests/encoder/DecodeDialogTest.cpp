#include "EncoderTestSupport.h"
#include "ScriptedUserInterface.h"
#include "UnitDecode.h"
#include "UnitEncode.h"
#include "UnitProgressForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const EncoderFolderSource folders = [] { return EncoderFolders{QStringLiteral("/dec/"), QStringLiteral("/open/")}; };

}  // namespace

TEST(DecodeDialog, ComponentsCarryTheirCaptionsAndStartWithTheDecodeFolder)
{
    const TFormDecode form(folders);
    EXPECT_EQ(form.windowTitle(), "Decode MP3 files to WAV");
    EXPECT_EQ(form.gbOutput->title(), "Output Folder");
    EXPECT_EQ(form.EditOutput->text(), "/dec/");
    EXPECT_EQ(form.sbtnBrowse->text(), "Browse");
    EXPECT_EQ(form.sbtnBrowse->toolTip(), "Specify the folder where decoded files will be saved");
    EXPECT_EQ(form.btnDecode->text(), "Decode ...");
    EXPECT_EQ(form.btnClose->text(), "Close");
}

TEST(DecodeDialog, AsksForMpegFilesInTheOpenFolder)
{
    ScriptedUserInterface script;
    const TempDir out;
    TFormDecode form(folders);
    form.EditOutput->setText(out.path());
    form.btnDecode->click();

    EXPECT_EQ(form.EditOutput->text(), out.path() + "/");
    ASSERT_EQ(script.fileRequests.size(), 1);
    EXPECT_EQ(script.fileRequests[0].title, "Open MP3 files to decode");
    EXPECT_EQ(script.fileRequests[0].filter, "Mpeg Audio Files (*.mp3, *.mp2)  (*.MP3 *.MP2)");
    EXPECT_EQ(script.fileRequests[0].initialFolder, "/open/");
    EXPECT_TRUE(script.fileRequests[0].multiSelect);
}

TEST(DecodeDialog, MissingOutputFolderIsReported)
{
    ScriptedUserInterface script;
    TFormDecode form(folders);
    form.EditOutput->setText("/no/such/folder/");
    form.btnDecode->click();
    EXPECT_EQ(script.texts(), QStringList({"Output folder does not exist."}));
    EXPECT_TRUE(script.fileRequests.isEmpty());
}

TEST(DecodeDialog, DecodesWhatTheEncodeDialogMadeBackToItsLength)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::Lame);
    const TempDir files;
    const QString wav = files.write("in/tone.wav", sineWav(44100));
    files.write("mp3/keep", {});
    files.write("wav/keep", {});

    TFormEncode encode(folders);
    encode.EditOutput->setText(files.filePath("mp3"));
    script.fileAnswers.push_back({{wav}, 0});
    encode.btnEncode->click();
    const QString mp3 = files.filePath("mp3/tone.mp3");
    ASSERT_TRUE(QFileInfo::exists(mp3));

    TFormDecode decode(folders);
    decode.EditOutput->setText(files.filePath("wav"));
    script.fileAnswers.push_back({{mp3}, 0});
    decode.btnDecode->click();

    EXPECT_TRUE(script.messages.isEmpty()) << script.texts().join('\n').toStdString();
    // The encoder's own header frame tells the decoder where the tone starts and ends.
    EXPECT_EQ(wavFrames(readAll(files.filePath("wav/tone.wav"))), 44100);
}

TEST(DecodeDialog, ProgressNamesTheFileBeingDecodedAndCancelStopsTheRun)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    const QString log = program.dir.filePath("starts.log");
    writeSlowEncoder(program.dir, log, 20);
    const TempDir files;
    const QString first = files.write("one.mp3", "x");
    const QString second = files.write("two.MP2", "x");
    TFormDecode form(folders);
    form.EditOutput->setText(files.path());
    script.fileAnswers.push_back({{first, second}, 0});

    ProgressSeen seen;
    QTimer::singleShot(300, [&] {
        TFormProgress* progress = shownProgressWindow();
        ASSERT_NE(progress, nullptr);
        seen = {progress->windowTitle(), progress->lbMsg->text()};
        progress->btnCancel->click();
    });
    form.btnDecode->click();

    EXPECT_EQ(seen.caption, "Decoding...1/2");
    EXPECT_EQ(seen.message, "Decoding 'one.mp3'.");
    EXPECT_EQ(QString::fromUtf8(readAll(log)), QStringLiteral("--decode %1 %2/one.wav.temp\n").arg(first, files.path()));
}
