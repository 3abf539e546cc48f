#include "AudioFixtures.h"
#include "CddbTestServer.h"
#include "ProgramFolder.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitGetAlbumFreedb.h"
#include "UnitMain.h"
#include "UnitUtilities.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The main window's album lookup command over files of the test's own and a server on 127.0.0.1.
class AlbumLookupCommand : public ::testing::Test {
protected:
    AlbumLookupCommand() : previousProgramFolder(programFolder())
    {
        setProgramFolder(programDir.path() + QLatin1Char('/'));
        setDelayScale(0.01);
        form = std::make_unique<TFormMain>();
        form->FreedbServer = QStringLiteral("127.0.0.1");
        form->FreedbPort = QString::number(server.port());
    }
    ~AlbumLookupCommand() override
    {
        form.reset();
        setDelayScale(1);
        setProgramFolder(previousProgramFolder);
    }

    QStringList open(int count)
    {
        QStringList paths;
        for (int n = 1; n <= count; ++n)
            paths << dir.write(QStringLiteral("%1.mp3").arg(n), fixtures::mpegFrames(fixtures::MpegFrameShape(), 8));
        form->OpenFiles(paths, false);
        return paths;
    }

    // Runs the action on the lookup dialog once the command shows it; records every dialog shown.
    void onDialog(std::function<void(TFormFreedb&)> action)
    {
        auto* watch = new QTimer(form.get());
        watch->setInterval(10);
        QObject::connect(watch, &QTimer::timeout, watch, [this, watch, action] {
            if (auto* dialog = qobject_cast<TFormFreedb*>(QApplication::activeModalWidget())) {
                watch->stop();
                ++dialogsShown;
                action(*dialog);
                dialog->close();
            }
        });
        watch->start();
    }

    ScriptedUserInterface userInterface;
    TempDir programDir;
    TempDir dir;
    CddbTestServer server;
    std::unique_ptr<TFormMain> form;
    int dialogsShown = 0;

private:
    QString previousProgramFolder;
};

}  // namespace

TEST_F(AlbumLookupCommand, WithoutFilesNoDialogIsShown)
{
    onDialog([](TFormFreedb&) {});
    form->miFreedbClick();
    QTest::qWait(50);
    EXPECT_EQ(dialogsShown, 0);
}

TEST_F(AlbumLookupCommand, ToolButtonLooksUpTheOpenedFilesAndTheWriteReloadsEveryRow)
{
    const QStringList paths = open(2);
    form->OptionLeadingZero = true;
    form->OptionAddTotalTracks = true;
    QList<qint32> lengths;
    for (const auto& file : form->FileList)
        lengths << file->Duration;
    server.replies["cddb query " + TFreedb::BuildQuery(lengths)] = "200 rock 0a0b0c0d Band / Record\r\n";
    server.replies["cddb read rock 0a0b0c0d"] =
        entryReply("rock", "0a0b0c0d", {"DTITLE=Band / Record", "TTITLE0=First", "TTITLE1=Second", "EXTD="});

    QString hostShown;
    onDialog([&](TFormFreedb& dialog) {
        hostShown = dialog.Freedb->FHost;
        dialog.btnQueryClick();
        dialog.btnWriteTagsClick();
    });
    form->ToolBtnFreedbClick();

    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(hostShown, "127.0.0.1");
    ASSERT_EQ(form->FileList.size(), 2u);
    EXPECT_EQ(form->FileList[0]->ID3v2.Title, "First");
    EXPECT_EQ(form->FileList[0]->ID3v2.Track, "01/02");
    EXPECT_EQ(form->FileList[1]->ID3v2.Title, "Second");
    EXPECT_EQ(form->FileList[1]->ID3v1.track(), 2);
    EXPECT_TRUE(userInterface.messages.isEmpty()) << userInterface.texts().join(" | ").toStdString();
}
