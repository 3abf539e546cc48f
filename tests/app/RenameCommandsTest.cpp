#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "UnitMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

class RenameCommands : public ::testing::Test {
protected:
    // A row whose ID3v2 tag names artist and title; its file holds no audio.
    void addRow(const QString& name, const QString& artist, const QString& title)
    {
        auto file = std::make_unique<TMpegFile>();
        file->FileName = folder.write(name, name.toUtf8());
        file->HasID3v2 = true;
        file->ID3v2.Present = true;
        file->ID3v2.Artist = artist;
        file->ID3v2.Title = title;
        form.FileList.push_back(std::move(file));
        form.RebuildGrid();
    }

    QStringList captions() const
    {
        QStringList result;
        for (const QAction* item : form.miPopupRename->actions())
            result += item->text();
        return result;
    }

    SettingsHome home;
    ScriptedUserInterface script;
    TempDir folder;
    TFormMain form;
};

}  // namespace

TEST_F(RenameCommands, PopupOffersOneItemPerUserFormat)
{
    form.RenameFormats = {"#ARTIST#", "#TITLE# & more", "#TRACK#"};
    emit form.Popup->aboutToShow();
    EXPECT_EQ(captions(), QStringList({"#ARTIST#", "#TITLE# && more", "#TRACK#"}));
    EXPECT_EQ(form.miPopupRename->actions()[1]->data().toString(), "#TITLE# & more");
    EXPECT_EQ(form.miPopupRename->menuAction()->menu(), form.miPopupRename);

    form.RenameFormats = {"#ARTIST#"};
    emit form.Popup->aboutToShow();
    EXPECT_EQ(captions(), QStringList{"#ARTIST#"});
}

TEST_F(RenameCommands, WithoutUserFormatsThePopupItemRenamesBySettings)
{
    form.RenameFormats.clear();
    form.RenameFormat = "rdArtistTitle";
    form.RenameCase = "4";
    addRow("x.mp3", "abba", "waterloo");
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.selectGridRow(0);
    emit form.Popup->aboutToShow();
    EXPECT_TRUE(captions().isEmpty());
    EXPECT_EQ(form.miPopupRename->menuAction()->menu(), nullptr);

    form.miPopupRename->menuAction()->trigger();
    EXPECT_EQ(form.FileList[0]->FileName, folder.filePath("abba - waterloo.mp3"));
}

TEST_F(RenameCommands, UserFormatItemRenamesTheSelectedFilesByItsFormat)
{
    form.RenameFormats = {"#TITLE# by #ARTIST#"};
    form.RenameCase = "0";
    addRow("one.mp3", "abba", "waterloo");
    addRow("two.mp3", "queen", "bicycle");
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.selectGridRow(1);
    emit form.Popup->aboutToShow();
    form.miPopupRename->actions()[0]->trigger();
    EXPECT_EQ(form.FileList[0]->FileName, folder.filePath("one.mp3"));
    EXPECT_EQ(form.FileList[1]->FileName, folder.filePath("Bicycle by Queen.mp3"));
    EXPECT_EQ(readAll(folder.filePath("Bicycle by Queen.mp3")), "two.mp3");
}

TEST_F(RenameCommands, TheFilePathLineShowsTheNewPathOfTheFileItShows)
{
    form.RenameFormat = "rdArtistTitle";
    form.RenameCase = "4";
    addRow("x.mp3", "abba", "waterloo");
    addRow("y.mp3", "queen", "bicycle");
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.selectGridRow(1);
    form.miSelectAllClick();
    form.miRenameClick();
    EXPECT_EQ(form.panelFilePath->text().toStdString(),
              " File path: " + folder.filePath("queen - bicycle.mp3").toStdString());
}

TEST_F(RenameCommands, RenameUsesTheActivePagesTagVersion)
{
    form.RenameFormat = "rdArtistTitle";
    addRow("x.mp3", "abba", "waterloo");
    form.PageControlTag->setCurrentWidget(form.TabSheetV1);
    form.selectGridRow(0);
    form.miRenameClick();
    EXPECT_EQ(form.FileList[0]->FileName, folder.filePath("x.mp3"));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(RenameCommands, NothingSelectedRenamesNothing)
{
    form.RenameFormat = "rdArtistTitle";
    addRow("x.mp3", "abba", "waterloo");
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.miRenameClick();
    EXPECT_TRUE(QFile::exists(folder.filePath("x.mp3")));
}

TEST_F(RenameCommands, AListReplacedWhileAFailedRenameIsReportedEndsTheRenaming)
{
    form.RenameFormat = "rdArtistTitle";
    addRow("x.mp3", "abba", "waterloo");
    addRow("y.mp3", "queen", "bicycle");
    folder.write("Abba - Waterloo.mp3", "taken");
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.miSelectAllClick();
    // As the folder tree does when a change reaches it inside the box.
    script.whileMessageShown = [&] { form.miCloseAllClick(); };
    form.miRenameClick();
    EXPECT_EQ(script.texts(), QStringList{"Cannot rename 'x.mp3' to 'Abba - Waterloo.mp3'."});
    EXPECT_TRUE(QFile::exists(folder.filePath("y.mp3")));
}
