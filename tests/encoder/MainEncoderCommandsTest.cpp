#include "EncoderTestSupport.h"
#include "ProgramFolder.h"
#include "ScriptedUserInterface.h"
#include "UnitBrowseFolder.h"
#include "UnitDecode.h"
#include "UnitEncode.h"
#include "UnitMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MainEncoderCommands, MissingEncoderShowsTheMessageAndNoDialog)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    TFormMain main;
    for (QAction* command : {main.miEncode, main.miDecode}) {
        QWidget* opened = nullptr;
        QTimer::singleShot(0, [&] {
            opened = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(opened))
                dialog->reject();
        });
        QApplication::setOverrideCursor(Qt::WaitCursor);
        command->trigger();
        QApplication::processEvents();
        EXPECT_EQ(opened, nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(script.texts(), QStringList({"Lame.exe not found in application folder.",
                                           "Lame.exe not found in application folder."}));
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_FALSE(FormEncode && FormEncode->isVisible());
    EXPECT_FALSE(FormDecode && FormDecode->isVisible());
}

TEST(MainEncoderCommands, DialogsAreMadeOnceFromTheFolderSettingsAndKeepTheirOptions)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::Lame);
    TFormMain main;
    main.DefaultFolderEnc = "/enc/";
    main.DefaultFolderDec = "/dec/";

    QWidget* opened = nullptr;
    QTimer::singleShot(0, [&] {
        opened = QApplication::activeModalWidget();
        FormEncode->cbCRC->setChecked(true);
        FormEncode->reject();
    });
    main.miEncode->trigger();
    ASSERT_NE(FormEncode, nullptr);
    EXPECT_EQ(opened, FormEncode);
    EXPECT_EQ(FormEncode->EditOutput->text(), "/enc/");

    const TFormEncode* first = FormEncode;
    main.DefaultFolderEnc = "/later/";
    QTimer::singleShot(0, [&] { opened = QApplication::activeModalWidget(); FormEncode->reject(); });
    main.miEncode->trigger();
    EXPECT_EQ(FormEncode, first);
    EXPECT_EQ(opened, first);
    EXPECT_TRUE(FormEncode->cbCRC->isChecked());
    EXPECT_EQ(FormEncode->EditOutput->text(), "/enc/");

    QTimer::singleShot(0, [&] { opened = QApplication::activeModalWidget(); FormDecode->reject(); });
    main.miDecode->trigger();
    ASSERT_NE(FormDecode, nullptr);
    EXPECT_EQ(opened, FormDecode);
    EXPECT_EQ(FormDecode->EditOutput->text(), "/dec/");
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST(MainEncoderCommands, KeptDialogsBrowseAndOpenInTheCurrentFolderSettings)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::Lame);
    const TempDir first;
    const TempDir later;
    TFormMain main;
    main.DefaultFolderEnc = first.path();
    main.DefaultFolderDec = first.path();
    main.DefaultFolderOpen = first.path();
    for (QAction* command : {main.miEncode, main.miDecode}) {
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        command->trigger();
    }

    main.DefaultFolderEnc = later.path();
    main.DefaultFolderOpen = later.filePath("open");
    QString browseStart;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            auto* browse = qobject_cast<TFormBrowseFolder*>(QApplication::activeModalWidget());
            ASSERT_NE(browse, nullptr);
            browseStart = browse->GetFolder();
            browse->reject();
        });
        FormEncode->sbtnBrowse->click();
        FormEncode->btnEncode->click();
        FormEncode->reject();
    });
    main.miEncode->trigger();
    QTimer::singleShot(0, [&] {
        FormDecode->btnDecode->click();
        FormDecode->reject();
    });
    main.miDecode->trigger();

    EXPECT_EQ(browseStart, later.path());
    ASSERT_EQ(script.fileRequests.size(), 2);
    EXPECT_EQ(script.fileRequests[0].initialFolder, later.filePath("open"));
    EXPECT_EQ(script.fileRequests[1].initialFolder, later.filePath("open"));
}

TEST(MainEncoderCommands, TheBuildPutsTheEncoderIntoTheProgramFolder)
{
    ScriptedUserInterface script;
    setProgramFolder(CORVANE_PROGRAM_DIR);
    TFormMain main;
    QWidget* opened = nullptr;
    QTimer::singleShot(0, [&] {
        opened = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(opened))
            dialog->reject();
    });
    main.miDecode->trigger();
    setProgramFolder(QString());

    EXPECT_TRUE(QFileInfo(CORVANE_PROGRAM_DIR "/lame").isExecutable());
    EXPECT_EQ(opened, FormDecode);
    EXPECT_TRUE(script.messages.isEmpty());
}
