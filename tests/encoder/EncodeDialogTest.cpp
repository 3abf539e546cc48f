#include "EncoderTestSupport.h"
#include "ScriptedUserInterface.h"
#include "UnitBrowseFolder.h"
#include "UnitEncode.h"
#include "UnitProgressForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const EncoderFolderSource folders = [] { return EncoderFolders{QStringLiteral("/enc/"), QStringLiteral("/open/")}; };

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

}  // namespace

TEST(EncodeDialog, ComponentsCarryTheirCaptionsHintsAndItems)
{
    const TFormEncode form(folders);
    EXPECT_EQ(form.windowTitle(), "Encode WAV files to MP3");
    EXPECT_EQ(form.gbBitrate->title(), "Bitrate (kbit/sec)");
    const QStringList bitrates = {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256", "320"};
    EXPECT_EQ(items(form.cbBitrate), bitrates);
    EXPECT_EQ(items(form.cbVbrMinBitrate), bitrates);
    EXPECT_FALSE(form.cbBitrate->isEditable());
    EXPECT_FALSE(form.cbVbrMinBitrate->isEditable());
    EXPECT_EQ(form.cbBitrate->toolTip(), "128=normal, 192=recommended, 256=high quality");
    EXPECT_EQ(form.cbVbrMinBitrate->toolTip(), "MINIMUM variable bitrate allowed");

    struct Button {
        const QAbstractButton* button;
        const char* caption;
        const char* hint;
    };
    const Button buttons[] = {
        {form.rdConstant, "Constant", "Use a fixed bitrate"},
        {form.rdVariable, "Variable", "Use a variable bitrate (VBR)"},
        {form.rdStereo, "Stereo", "Recommended for bitrate of 192 or better"},
        {form.rdJoint, "Joint Stereo", "Recommended for bitrate lower than 192"},
        {form.rdDual, "Dual Stereo", ""},
        {form.rdMono, "Mono", ""},
        {form.rdQualNormal, "Normal", "Normal quality, for VBR files it means average quality of 4 (default)"},
        {form.rdQualHigh, "High", "Requires more time to encode, for VBR files high quality means best quality possible (0)"},
        {form.cbCopyright, "Copyright", "Include a copyright indicator"},
        {form.cbOriginal, "Original", "Include original (not a copy) indicator"},
        {form.cbCRC, "CRC", "Include error protection in each frame (cyclic redundancy check)"},
        {form.sbtnBrowse, "Browse", "Specify the folder where encoded files will be saved"},
        {form.btnEncode, "Encode ...", ""},
        {form.btnClose, "Close", ""},
    };
    for (const Button& b : buttons) {
        EXPECT_EQ(b.button->text(), b.caption);
        EXPECT_EQ(b.button->toolTip(), b.hint) << b.caption;
    }
    EXPECT_EQ(form.gbOutput->title(), "Output Folder");
    EXPECT_EQ(form.gbMode->title(), "Mode");
    EXPECT_EQ(form.gbQuality->title(), "Quality");
    EXPECT_EQ(form.gbOptions->title(), "Options");
    EXPECT_TRUE(form.sbtnBrowse->autoRaise());
}

TEST(EncodeDialog, StartsWithTheRecommendedSettingsAndTheEncodeFolder)
{
    const TFormEncode form(folders);
    EXPECT_EQ(form.cbBitrate->currentText(), "192");
    EXPECT_TRUE(form.rdConstant->isChecked());
    EXPECT_EQ(form.cbVbrMinBitrate->currentText(), "64");
    EXPECT_EQ(form.EditOutput->text(), "/enc/");
    EXPECT_TRUE(form.rdStereo->isChecked());
    EXPECT_TRUE(form.rdQualHigh->isChecked());
    EXPECT_FALSE(form.cbCopyright->isChecked());
    EXPECT_FALSE(form.cbOriginal->isChecked());
    EXPECT_FALSE(form.cbCRC->isChecked());
    EXPECT_EQ(lameParameters(encodeCommand(form.encodeOptions(), "/in/a.wav", "/out/")),
              R"(-b 192 -h -m s -o "/in/a.wav" "/out/a.mp3")");
}

TEST(EncodeDialog, WidgetsChooseTheSwitches)
{
    TFormEncode form(folders);
    const auto switches = [&] {
        return lameParameters(encodeCommand(form.encodeOptions(), "/i/s.wav", "/o/")).chopped(21);
    };
    form.rdVariable->setChecked(true);
    form.rdQualNormal->setChecked(true);
    EXPECT_EQ(switches(), "-b 64 -V 4 -m s -o ");
    form.rdQualHigh->setChecked(true);
    EXPECT_EQ(switches(), "-b 64 -h -V 0 -m s -o ");
    form.cbVbrMinBitrate->setCurrentIndex(0);
    form.rdJoint->setChecked(true);
    form.cbOriginal->setChecked(true);
    EXPECT_EQ(switches(), "-b 32 -h -V 0 -m j ");
    form.rdConstant->setChecked(true);
    form.cbBitrate->setCurrentIndex(13);
    form.rdDual->setChecked(true);
    form.cbCopyright->setChecked(true);
    form.cbCRC->setChecked(true);
    EXPECT_EQ(switches(), "-b 320 -h -m d -c -p ");
    form.rdMono->setChecked(true);
    form.cbOriginal->setChecked(false);
    EXPECT_EQ(switches(), "-b 320 -h -m m -c -o -p ");
}

TEST(EncodeDialog, MissingOutputFolderIsReportedAndNothingIsAsked)
{
    ScriptedUserInterface script;
    TFormEncode form(folders);
    for (const QString& folder : {QString(), QStringLiteral("/no/such/folder")}) {
        form.EditOutput->setText(folder);
        form.btnEncode->click();
    }
    EXPECT_EQ(script.texts(), QStringList({"Output folder does not exist.", "Output folder does not exist."}));
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_TRUE(script.fileRequests.isEmpty());
}

TEST(EncodeDialog, OutputFolderGetsItsSlashAndTheFileDialogOpensInTheOpenFolder)
{
    ScriptedUserInterface script;
    const TempDir out;
    TFormEncode form(folders);
    form.EditOutput->setText(out.path());
    form.btnEncode->click();

    EXPECT_EQ(form.EditOutput->text(), out.path() + "/");
    ASSERT_EQ(script.fileRequests.size(), 1);
    EXPECT_EQ(script.fileRequests[0].title, "Open WAV files to encode");
    EXPECT_EQ(script.fileRequests[0].filter, "WAV Audio Files (*.wav)");
    EXPECT_EQ(script.fileRequests[0].initialFolder, "/open/");
    EXPECT_TRUE(script.fileRequests[0].multiSelect);
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST(EncodeDialog, RealEncoderEncodesAWavFileWhosePathHoldsBlanksAndQuotes)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::Lame);
    const TempDir files;
    const QString wav = files.write(R"(my music/tone "one".wav)", sineWav(44100));
    files.write("out/keep", {});
    TFormEncode form(folders);
    form.EditOutput->setText(files.filePath("out"));
    script.fileAnswers.push_back({{wav}, 0});
    form.btnEncode->click();

    EXPECT_TRUE(script.messages.isEmpty()) << script.texts().join('\n').toStdString();
    const QByteArray mp3 = readAll(files.filePath(R"(out/tone "one".mp3)"));
    // One second at 192 kbit/s is 24000 bytes of frames, plus the encoder's header frame and padding.
    EXPECT_GE(mp3.size(), 24000);
    EXPECT_LT(mp3.size(), 24000 + 4 * 627);
    ASSERT_GE(mp3.size(), 2);
    EXPECT_EQ(static_cast<uchar>(mp3[0]), 0xFF);
    EXPECT_EQ(static_cast<uchar>(mp3[1]), 0xFB);   // MPEG-1 Layer III without CRC
    EXPECT_EQ(shownProgressWindow(), nullptr);
}

TEST(EncodeDialog, EncoderThatCannotStartIsReportedForEachFile)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    program.dir.write("lame", "not a program");
    const TempDir files;
    const QString first = files.write("a.wav", sineWav(100));
    const QString second = files.write("b.wav", sineWav(100));
    TFormEncode form(folders);
    form.EditOutput->setText(files.path());
    script.fileAnswers.push_back({{first, second}, 0});
    form.btnEncode->click();

    EXPECT_EQ(script.texts(), QStringList({"Error executing LAME.EXE!", "Error executing LAME.EXE!"}));
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
}

TEST(EncodeDialog, CancelEndsTheWaitAndStartsNoFurtherFile)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    const QString log = program.dir.filePath("starts.log");
    // Far longer than the test takes even on a busy machine, so only a wait for the encoder reaches
    // the bound below.
    writeSlowEncoder(program.dir, log, 300);
    const TempDir files;
    const QString first = files.write("a.wav", sineWav(100));
    const QString second = files.write("b.wav", sineWav(100));
    TFormEncode form(folders);
    form.EditOutput->setText(files.path());
    script.fileAnswers.push_back({{first, second}, 0});

    ProgressSeen seen;
    QTimer::singleShot(300, [&] {
        TFormProgress* progress = shownProgressWindow();
        ASSERT_NE(progress, nullptr);
        seen = {progress->windowTitle(), progress->lbMsg->text()};
        QTest::mouseClick(progress->btnCancel, Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    form.btnEncode->click();

    EXPECT_LT(clock.elapsed(), 120000);
    EXPECT_EQ(seen.caption, "Encoding...1/2");
    EXPECT_EQ(seen.message, "Encoding 'a.wav'.");
    const QStringList starts = QString::fromUtf8(readAll(log)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(starts.size(), 1);
    EXPECT_EQ(starts[0], QStringLiteral("-b 192 -h -m s -o %1 %2/a.mp3.temp").arg(first, files.path()));
    EXPECT_TRUE(script.messages.isEmpty());
    EXPECT_EQ(shownProgressWindow(), nullptr);
}

TEST(EncodeDialog, AnEncoderLeftByCancelFinishesItsFileAfterTheDialogIsGone)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    writeSlowEncoder(program.dir, program.dir.filePath("starts.log"), 3);
    const TempDir files;
    const QString output = files.filePath("a.mp3");
    script.fileAnswers.push_back({{files.write("a.wav", sineWav(100))}, 0});
    {
        TFormEncode form(folders);
        form.EditOutput->setText(files.path());
        QTimer::singleShot(300, [] { shownProgressWindow()->btnCancel->click(); });
        form.btnEncode->click();
        ASSERT_FALSE(QFile::exists(output));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(output) && readAll(output) == "finished\n"; }, 60000));
}

TEST(EncodeDialog, CloseAndEscapeHideTheDialog)
{
    TFormEncode form(folders);
    form.show();
    form.btnClose->click();
    EXPECT_FALSE(form.isVisible());
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST(EncodeDialog, ProgressWindowTakesCancelWhileTheDialogIsModal)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    const QString log = program.dir.filePath("starts.log");
    writeSlowEncoder(program.dir, log, 20);
    const TempDir files;
    TFormEncode form(folders);
    form.EditOutput->setText(files.path());
    script.fileAnswers.push_back({{files.write("a.wav", sineWav(100)), files.write("b.wav", sineWav(100))}, 0});

    bool cancelReached = false;
    QTimer::singleShot(0, [&] { form.btnEncode->click(); form.reject(); });
    QTimer::singleShot(300, [&] {
        TFormProgress* progress = shownProgressWindow();
        ASSERT_NE(progress, nullptr);
        // Through the window system, where a modal dialog blocks the windows it does not own.
        QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, {},
                          progress->btnCancel->mapTo(progress, progress->btnCancel->rect().center()));
        cancelReached = progress->Cancelled;
        if (!cancelReached)
            progress->btnCancel->click();
    });
    form.exec();

    EXPECT_TRUE(cancelReached);
    EXPECT_EQ(QString::fromUtf8(readAll(log)).count('\n'), 1);
}

TEST(EncodeDialog, BrowsingStartsAtTheEncodeFolderAndFillsTheEdit)
{
    const TempDir encodeFolder;
    TFormEncode form([&] { return EncoderFolders{encodeFolder.path(), QStringLiteral("/open/")}; });
    form.EditOutput->setText(QStringLiteral("/typed/elsewhere/"));

    QString message;
    QString startFolder;
    bool subfoldersShown = true;
    QTimer::singleShot(0, [&] {
        auto* browse = qobject_cast<TFormBrowseFolder*>(QApplication::activeModalWidget());
        ASSERT_NE(browse, nullptr);
        message = browse->lblMsg->text();
        startFolder = browse->GetFolder();
        subfoldersShown = browse->chkSubfolders->isVisibleTo(browse);
        browse->btnOk->click();
    });
    form.sbtnBrowse->click();

    EXPECT_EQ(message, "Select a folder to open.");
    EXPECT_FALSE(subfoldersShown);
    EXPECT_EQ(startFolder, encodeFolder.path());
    EXPECT_EQ(form.EditOutput->text(), encodeFolder.path());
}
