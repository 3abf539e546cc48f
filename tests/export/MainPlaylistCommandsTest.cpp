#include "AudioFixtures.h"
#include "ExportFieldList.h"
#include "FileGridModel.h"
#include "FileSizeLimit.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "UnitExport.h"
#include "UnitMain.h"
#include "UnitProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Counts the progress windows shown.
class ProgressSpy : public QObject {
public:
    ProgressSpy() { qApp->installEventFilter(this); }
    ~ProgressSpy() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TFormProgress*>(watched))
            ++shown;
        return false;
    }
};

class MainPlaylistCommands : public ::testing::Test {
protected:
    MainPlaylistCommands() { form.DefaultFolderPlaylist = dir.path(); }

    TMpegFile& addRow(const QString& fileName)
    {
        form.FileList.push_back(std::make_unique<TMpegFile>());
        form.FileList.back()->FileName = fileName;
        form.vtgridModel->setRows(static_cast<int>(form.FileList.size()));
        return *form.FileList.back();
    }

    void selectRows(std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = form.vtgrid->selectionModel();
        selection->clearSelection();
        for (const int row : rows)
            selection->select(form.vtgridModel->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    ScriptedUserInterface script;
    TempDir dir;
    TFormMain form;
};

}  // namespace

TEST_F(MainPlaylistCommands, SavesTheSelectedRowsInGridOrder)
{
    addRow(dir.filePath("sub/b.mp3"));
    addRow(dir.filePath("other.mp3"));
    addRow(dir.filePath("a.mp3"));
    selectRows({2, 0});
    ASSERT_TRUE(form.SavePlaylist(dir.filePath("list.pls")));
    EXPECT_EQ(readAll(dir.filePath("list.pls")),
              "[playlist]\r\nFile1=sub/b.mp3\r\nFile2=a.mp3\r\nNumberOfEntries=2\r\nVersion=2\r\n");
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(MainPlaylistCommands, AFileWhoseNameHoldsALineBreakIsLeftOutAndNamed)
{
    addRow(dir.filePath("A\nB.mp3"));
    addRow(dir.filePath("a.mp3"));
    selectRows({0, 1});
    ASSERT_TRUE(form.SavePlaylist(dir.filePath("list.m3u")));
    EXPECT_EQ(readAll(dir.filePath("list.m3u")), "a.mp3\r\n");
    EXPECT_EQ(script.texts(), QStringList({"These files were left out of the playlist, as their names hold a line "
                                           "break:\n'" + dir.filePath("A\nB.mp3") + "'"}));
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Warning);
}

TEST_F(MainPlaylistCommands, TheNameComesFromTheFirstSelectedRowInGridOrder)
{
    setID3v2(addRow(dir.filePath("a.mp3")), {.Artist = "First", .Album = "Row"});
    setID3v2(addRow(dir.filePath("b.mp3")), {.Artist = "AC/DC", .Album = "Live: 1992"});
    setID3v2(addRow(dir.filePath("c.mp3")), {.Artist = "Third", .Album = "Row"});
    EXPECT_EQ(form.MakePlaylistName(form.PlaylistFormat), "");
    selectRows({2, 1});
    form.vtgrid->selectionModel()->setCurrentIndex(form.vtgridModel->index(2, 0), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(form.MakePlaylistName(form.PlaylistFormat), "AC-DC - Live- 1992");
}

TEST_F(MainPlaylistCommands, SaveDialogProposesTheGeneratedNameAndIsClearedAfterwards)
{
    setID3v2(addRow(dir.filePath("a.mp3")), {.Artist = "Band", .Album = "Disc"});
    selectRows({0});
    script.fileAnswers.push_back({{dir.filePath("Band - Disc.m3u")}, 0});
    form.miSavePlaylistClick();
    ASSERT_EQ(script.fileRequests.size(), 1);
    const ui::FileDialogRequest& request = script.fileRequests.first();
    EXPECT_EQ(request.title, "Save selected files as playlist");
    EXPECT_EQ(request.filter, "Winamp Playlist (*.m3u) (*.m3u);;Playlist (*.pls) (*.pls)");
    EXPECT_EQ(request.defaultExtension, "m3u");
    EXPECT_TRUE(request.extensionFromFilter);
    EXPECT_EQ(request.initialFolder, dir.path());
    EXPECT_EQ(request.fileName, "Band - Disc");
    EXPECT_EQ(readAll(dir.filePath("Band - Disc.m3u")), "a.mp3\r\n");
    EXPECT_EQ(form.SaveDialogPlaylist.fileName, "");

    form.OptionGeneratePlaylist = false;
    form.miSavePlaylistClick();
    EXPECT_EQ(script.fileRequests.last().fileName, "");
}

TEST_F(MainPlaylistCommands, AnotherExtensionWritesNothingAndReportsTheWriteError)
{
    addRow(dir.filePath("a.mp3"));
    selectRows({0});
    script.fileAnswers.push_back({{dir.filePath("list.txt")}, 0});
    form.miSavePlaylistClick();
    EXPECT_FALSE(QFile::exists(dir.filePath("list.txt")));
    EXPECT_EQ(script.texts(), QStringList{"Cannot save playlist to disk."});
}

TEST_F(MainPlaylistCommands, AWriteErrorIsReported)
{
    addRow(dir.filePath("a long name.mp3"));
    selectRows({0});
    const QString playlist = dir.write("full.m3u", "earlier");
    {
        const FileSizeLimit limit;
        EXPECT_FALSE(form.SavePlaylist(playlist));
    }
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0].text, "Cannot save playlist to disk. File too large");
    EXPECT_EQ(readAll(playlist), "earlier");
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(script.messages[0].title, "Corvane");
}

TEST_F(MainPlaylistCommands, OpeningTheMenuEnablesSavingOnlyWithASelection)
{
    addRow(dir.filePath("a.mp3"));
    selectRows({0});
    form.miSavePlaylist->setEnabled(false);
    form.ToolBtnPlaylistSave->setEnabled(false);
    emit form.menuPlaylist->aboutToShow();
    EXPECT_TRUE(form.miSavePlaylist->isEnabled());
    EXPECT_TRUE(form.ToolBtnPlaylistSave->isEnabled());
    EXPECT_TRUE(form.miOpenPlaylist->isEnabled());

    form.vtgrid->selectionModel()->clearSelection();
    form.miSavePlaylist->setEnabled(true);
    form.ToolBtnPlaylistSave->setEnabled(true);
    emit form.menuPlaylist->aboutToShow();
    EXPECT_FALSE(form.miSavePlaylist->isEnabled());
    EXPECT_FALSE(form.ToolBtnPlaylistSave->isEnabled());
    EXPECT_TRUE(form.miOpenPlaylist->isEnabled());
}

TEST_F(MainPlaylistCommands, OpenDialogStartsWithAllPlaylists)
{
    form.miOpenPlaylistClick();
    ASSERT_EQ(script.fileRequests.size(), 1);
    const ui::FileDialogRequest& request = script.fileRequests.first();
    EXPECT_EQ(request.title, "Load files from playlist");
    EXPECT_EQ(request.filter, "Winamp Playlist (*.m3u) (*.m3u);;Playlist (*.pls) (*.pls);;All Playlists (*.m3u *.pls)");
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(request.initialFolder, dir.path());
    EXPECT_FALSE(request.multiSelect);
}

TEST_F(MainPlaylistCommands, TwentySixEntriesOpenWithTheProgressWindowAndTwentyFiveWithout)
{
    QByteArray lines;
    for (int i = 1; i <= 26; ++i) {
        const QString name = QStringLiteral("song%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
        dir.write(name, fixtures::mpegFrames({}, 10));
        lines += name.toUtf8() + "\r\n";
    }
    const QString many = dir.write("many.m3u", lines);
    const QString fewer = dir.write("fewer.m3u", lines.left(lines.lastIndexOf("song26")));
    {
        ProgressSpy spy;
        form.LoadPlaylist(fewer);
        EXPECT_EQ(form.FileList.size(), 25u);
        EXPECT_EQ(spy.shown, 0);
    }
    ProgressSpy spy;
    form.LoadPlaylist(many);
    EXPECT_EQ(spy.shown, 1);
    ASSERT_EQ(form.FileList.size(), 26u);
    EXPECT_EQ(form.FileList.back()->FileName, dir.filePath("song26.mp3"));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(MainPlaylistCommands, OpeningAPlaylistAddsItsFilesAfterTheOpenOnes)
{
    addRow(dir.write("open.mp3", fixtures::mpegFrames({}, 10)));
    dir.write("sub/b.mp3", fixtures::mpegFrames({}, 10));
    const QString playlist = dir.write("list.pls", "[playlist]\r\nFile1=sub/b.mp3\r\nFile2=open.mp3\r\nNumberOfEntries=2\r\n");
    script.fileAnswers.push_back({{playlist}, 2});
    form.miOpenPlaylistClick();
    ASSERT_EQ(form.FileList.size(), 2u);
    EXPECT_EQ(form.FileList[1]->FileName, dir.filePath("sub/b.mp3"));
    EXPECT_EQ(form.OpenDialogPlaylist.fileName, "");
}

TEST_F(MainPlaylistCommands, AReadErrorIsReported)
{
    const QString playlist = dir.filePath("unreadable.m3u");
    ASSERT_TRUE(QFile::link("/proc/self/mem", playlist));
    form.LoadPlaylist(playlist);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0].text, "Cannot import all playlist files.");
    EXPECT_EQ(script.messages[0].title, "Corvane");
}

TEST_F(MainPlaylistCommands, ExportDialogIsMadeOnceAndReadsTheActivePage)
{
    TMpegFile& file = addRow(dir.write("a.mp3", "a"));
    setID3v1(file, {.Title = "One"}, 1, 1);
    setID3v2(file, {.Title = "Two"});
    form.ExportFields = "Title";
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    const QString target = dir.filePath("list.txt");
    script.fileAnswers.push_back({{target}, 0});
    QTimer::singleShot(0, [] {
        FormExport->rbCSV->setChecked(true);
        FormExport->btnExportClick();
        FormExport->lbExport->addItem("Year");
        FormExport->close();
    });
    form.miExportFileListClick();
    EXPECT_EQ(readAll(target), "Title;\r\nTwo;\r\n");
    EXPECT_EQ(form.ExportFields, "Title;Year");

    TFormExport* first = FormExport;
    QTimer::singleShot(0, [] { FormExport->close(); });
    form.miExportFileListClick();
    EXPECT_EQ(FormExport, first);
    EXPECT_EQ(FormExport->lbExport->count(), 2);
}
