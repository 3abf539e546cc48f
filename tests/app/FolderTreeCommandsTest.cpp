#include "FolderTree.h"
#include "HiddenFolderFilter.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "UnitBrowseFolder.h"
#include "UnitMain.h"
#include "UnitProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Ten MPEG-1 Layer III frames of 128 kbit/s at 44.1 kHz: enough for the file to open.
QByteArray audioFrames()
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x00);
    return frame.repeated(10);
}

QStringList openNames(const TFormMain& form)
{
    QStringList names;
    for (const auto& file : form.FileList)
        names += file->FileName.section('/', -1);
    return names;
}

// The folders the tree lists below a folder, by name.
QStringList listedFolders(const FolderTree& tree, const QString& path)
{
    const auto* folders = qobject_cast<const HiddenFolderFilter*>(tree.model());
    const QModelIndex parent = folders->index(path);
    QStringList names;
    for (int row = 0; row < folders->rowCount(parent); ++row)
        names += folders->index(row, 0, parent).data().toString();
    names.sort();
    return names;
}

// Every progress window shown while it exists: its message, bar and Cancel button at that moment.
class ProgressWatch : public QObject {
public:
    ProgressWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~ProgressWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        const auto* progress = qobject_cast<const TFormProgress*>(object);
        if (progress && event->type() == QEvent::Show)
            shown += QStringList{progress->lbMsg->text(), progress->ProgressBar1->isVisibleTo(progress) ? "bar" : "no bar",
                                 progress->btnCancel->isVisibleTo(progress) ? "Cancel" : "no Cancel"}.join(", ");
        return false;
    }

    QStringList shown;
};

class FolderTreeCommands : public ::testing::Test {
protected:
    FolderTreeCommands()
    {
        folder.write("b.mp3", audioFrames());
        folder.write("A.mp3", audioFrames());
        folder.write("sub/c.mp3", audioFrames());
        folder.write("notes.txt", "x");
    }

    void holdOneFile()
    {
        form.FileList.push_back(std::make_unique<TMpegFile>());
        form.FileList.back()->FileName = "/elsewhere/held.mp3";
    }

    SettingsHome home;
    ScriptedUserInterface script;
    TempDir folder;
    TFormMain form;
};

}  // namespace

TEST_F(FolderTreeCommands, OpenFolderOpensTheTopFolderOnlyUnlessRecursive)
{
    form.OpenFolder(folder.path(), false);
    EXPECT_EQ(openNames(form), QStringList({"A.mp3", "b.mp3"}));
    form.OpenFolder(folder.path(), true);
    EXPECT_EQ(openNames(form), QStringList({"A.mp3", "b.mp3", "c.mp3"}));
    form.OpenFolder(folder.path(), true);
    EXPECT_EQ(form.FileList.size(), 3u);
}

TEST_F(FolderTreeCommands, OpenFolderSortsTheNamesIgnoringLetterCase)
{
    TempDir mixed;
    for (const char* name : {"B.mp3", "c.mp3", "a.mp3"})
        mixed.write(name, audioFrames());
    form.OpenFolder(mixed.path(), false);
    EXPECT_EQ(openNames(form), QStringList({"a.mp3", "B.mp3", "c.mp3"}));
}

TEST_F(FolderTreeCommands, OnlyRecursiveOpeningShowsTheScanningWindow)
{
    const ProgressWatch watch;
    form.OpenFolder(folder.path(), false);
    EXPECT_TRUE(watch.shown.isEmpty());
    form.OpenFolder(folder.path(), true);
    EXPECT_EQ(watch.shown, QStringList{"Scanning folder..., no bar, no Cancel"});
}

TEST_F(FolderTreeCommands, MoreThanTwentyFiveFilesShowTheOpeningProgress)
{
    TempDir many;
    for (int i = 0; i < 25; ++i)
        many.write(QStringLiteral("%1.mp3").arg(i), audioFrames());
    const ProgressWatch watch;
    form.OpenFolder(many.path(), false);
    EXPECT_TRUE(watch.shown.isEmpty());
    EXPECT_EQ(form.FileList.size(), 25u);

    many.write("25.mp3", audioFrames());
    form.OpenFolder(many.path(), false);
    EXPECT_EQ(watch.shown.size(), 1);
    EXPECT_EQ(form.FileList.size(), 26u);
}

TEST_F(FolderTreeCommands, OpenFolderOnAPathThatIsNoFolderDoesNothing)
{
    form.OpenFolder(folder.filePath("b.mp3"), true);
    form.OpenFolder(folder.filePath("missing"), true);
    EXPECT_TRUE(form.FileList.empty());
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(FolderTreeCommands, FirstChangeLoadsNothingWithoutLoadFilesStartup)
{
    form.FirstFolderChangePending = true;
    form.OptionLoadFilesStartup = false;
    holdOneFile();
    form.VETreeMain->browseTo(folder.path());
    form.VETreeMainChange();
    EXPECT_EQ(openNames(form), QStringList{"held.mp3"});
    EXPECT_FALSE(form.FirstFolderChangePending);
    EXPECT_FALSE(form.FolderChangeBusy);
    EXPECT_EQ(form.panelFilePath->text(), " File path: " + folder.path());

    form.chkSubfolders->setChecked(true);
    form.VETreeMainChange();
    EXPECT_EQ(openNames(form), QStringList({"A.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(FolderTreeCommands, FirstChangeLoadsWithLoadFilesStartup)
{
    form.FirstFolderChangePending = true;
    form.OptionLoadFilesStartup = true;
    form.chkSubfolders->setChecked(false);
    holdOneFile();
    form.VETreeMain->browseTo(folder.path());
    form.VETreeMainChange();
    EXPECT_EQ(openNames(form), QStringList({"A.mp3", "b.mp3"}));
    EXPECT_FALSE(form.FirstFolderChangePending);
}

TEST_F(FolderTreeCommands, ChangeWhileBusyIsIgnoredAndLeavesTheFlagSet)
{
    form.FirstFolderChangePending = false;
    form.FolderChangeBusy = true;
    holdOneFile();
    form.VETreeMain->browseTo(folder.path());
    form.VETreeMainChange();
    EXPECT_EQ(openNames(form), QStringList{"held.mp3"});
    EXPECT_TRUE(form.FolderChangeBusy);
}

TEST_F(FolderTreeCommands, EveryLaterChangeReplacesTheList)
{
    form.FirstFolderChangePending = false;
    form.chkSubfolders->setChecked(false);
    holdOneFile();
    form.VETreeMain->browseTo(folder.filePath("sub"));
    form.VETreeMainChange();
    EXPECT_EQ(openNames(form), QStringList{"c.mp3"});
    EXPECT_FALSE(form.FolderChangeBusy);
}

TEST_F(FolderTreeCommands, AHiddenFolderOpensWhenBrowsedToAfterItsParentWasListed)
{
    folder.write(".hidden/inner/d.mp3", audioFrames());
    form.FirstFolderChangePending = false;
    form.VETreeMain->browseTo(folder.path());
    form.VETreeMain->expand(form.VETreeMain->currentIndex());
    ASSERT_TRUE(QTest::qWaitFor([&] { return listedFolders(*form.VETreeMain, folder.path()) == QStringList{"sub"}; }));
    form.VETreeMain->browseTo(folder.filePath(".hidden/inner"));
    EXPECT_EQ(form.VETreeMain->selectedPath(), folder.filePath(".hidden/inner"));
    form.VETreeMainChange();
    EXPECT_EQ(openNames(form), QStringList{"d.mp3"});
}

TEST_F(FolderTreeCommands, SelectedFolderThatIsGoneEmptiesTheListAndOpensNothing)
{
    form.FirstFolderChangePending = false;
    holdOneFile();
    form.RebuildGrid();
    form.VETreeMain->browseTo(folder.filePath("sub"));
    form.VETreeMain->cancelPendingChange();
    ASSERT_TRUE(QDir(folder.filePath("sub")).removeRecursively());
    form.VETreeMainChange();
    EXPECT_TRUE(form.FileList.empty());
    EXPECT_EQ(form.vtgrid->model()->rowCount(), 0);
    EXPECT_EQ(form.sbMainPanels[0]->text(), " 0 open file(s)");
    EXPECT_TRUE(script.messages.isEmpty());
    EXPECT_FALSE(form.FolderChangeBusy);
}

TEST_F(FolderTreeCommands, RefreshListsNewFoldersAndKeepsExpansionAndSelection)
{
    folder.write("sub/deep/d.mp3", audioFrames());
    form.show();
    FolderTree* tree = form.VETreeMain;
    // A tree told of no change stands for a file system that reports none.
    const auto* folders = qobject_cast<const HiddenFolderFilter*>(tree->model());
    qobject_cast<QFileSystemModel*>(folders->sourceModel())->setOption(QFileSystemModel::DontWatchForChanges);
    tree->browseTo(folder.path());
    tree->cancelPendingChange();
    tree->expand(folders->index(folder.path()));
    tree->expand(folders->index(folder.filePath("sub")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listedFolders(*tree, folder.filePath("sub")) == QStringList{"deep"}; }));
    ASSERT_TRUE(QDir(folder.path()).mkdir("new"));
    QTest::qWait(200);
    ASSERT_EQ(listedFolders(*tree, folder.path()), QStringList{"sub"});

    QSignalSpy changes(tree, &FolderTree::changed);
    form.miTreeRefreshTree->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return listedFolders(*tree, folder.path()) == QStringList({"new", "sub"}); }));
    EXPECT_EQ(tree->selectedPath(), folder.path());
    const auto* refreshed = qobject_cast<const HiddenFolderFilter*>(tree->model());
    EXPECT_TRUE(tree->isExpanded(refreshed->index(folder.path())));
    EXPECT_TRUE(tree->isExpanded(refreshed->index(folder.filePath("sub"))));
    QTest::qWait(FolderTree::changeDelay + 50);
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(FolderTreeCommands, ARightClickOpensThePopupAndLeavesTheSelectionAndTheList)
{
    form.FirstFolderChangePending = false;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    FolderTree* tree = form.VETreeMain;
    tree->browseTo(folder.path());
    tree->cancelPendingChange();
    holdOneFile();
    tree->expand(tree->currentIndex());
    const QModelIndex sub = qobject_cast<const HiddenFolderFilter*>(tree->model())->index(folder.filePath("sub"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->visualRect(sub).isValid(); }));
    tree->scrollTo(sub);
    // Through the window, as the platform delivers a click: the popup follows the press.
    QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, tree->viewport()->mapTo(&form, tree->visualRect(sub).center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.PopupMenuTree->isVisible(); }));
    QTest::keyClick(form.PopupMenuTree, Qt::Key_Escape);
    QTest::qWait(FolderTree::changeDelay + 100);
    EXPECT_EQ(tree->selectedPath(), folder.path());
    EXPECT_EQ(openNames(form), QStringList{"held.mp3"});
}

TEST_F(FolderTreeCommands, OpenFolderCommandAsksAndRemembersTheChoice)
{
    form.OptionRecurseFolder = true;
    form.DefaultFolderOpen = folder.path();
    QString message;
    bool subfolders = false;
    QString initial;
    QTimer::singleShot(0, &form, [&] {
        auto* browser = qobject_cast<TFormBrowseFolder*>(QApplication::activeModalWidget());
        ASSERT_NE(browser, nullptr);
        message = browser->lblMsg->text();
        subfolders = browser->GetSubfolders();
        initial = browser->GetFolder();
        browser->SelectFolder(folder.filePath("sub"));
        browser->SetSubfolders(false);
        browser->accept();
    });
    form.miOpenFolderClick();
    EXPECT_EQ(message, "Select a folder to open.");
    EXPECT_TRUE(subfolders);
    EXPECT_EQ(initial, folder.path());
    EXPECT_EQ(form.DefaultFolderOpen, folder.filePath("sub"));
    EXPECT_FALSE(form.OptionRecurseFolder);
    EXPECT_EQ(openNames(form), QStringList{"c.mp3"});
}

TEST_F(FolderTreeCommands, CancelledOpenFolderChangesNothing)
{
    form.DefaultFolderOpen = folder.path();
    form.OptionRecurseFolder = true;
    QTimer::singleShot(0, &form, [] { QApplication::activeModalWidget()->close(); });
    form.miOpenFolderClick();
    EXPECT_EQ(form.DefaultFolderOpen, folder.path());
    EXPECT_TRUE(form.OptionRecurseFolder);
    EXPECT_TRUE(form.FileList.empty());
}

TEST_F(FolderTreeCommands, AMissingDefaultFolderGivesTheFocusedRowNoSay)
{
    form.DefaultFolderOpen = folder.filePath("gone");
    form.OptionLoadFilesStartup = true;
    form.OptionRecurseFolder = false;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The focus rests on the tree's first row, "/", without selecting it.
    form.VETreeMain->setFocus();
    ASSERT_TRUE(form.VETreeMain->currentIndex().isValid());
    QTest::qWait(FolderTree::changeDelay + 100);
    EXPECT_EQ(form.VETreeMain->selectedPath(), QString());
    EXPECT_EQ(form.panelFilePath->text(), " File path:");

    bool okEnabled = true;
    QTimer::singleShot(0, &form, [&] {
        auto* browser = qobject_cast<TFormBrowseFolder*>(QApplication::activeModalWidget());
        ASSERT_NE(browser, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(browser));
        browser->VETree->setFocus();
        okEnabled = browser->btnOk->isEnabled();
        browser->btnOk->click();
        if (browser->isVisible())
            browser->reject();
    });
    form.miOpenFolderClick();
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(form.DefaultFolderOpen, folder.filePath("gone"));
    EXPECT_TRUE(form.FileList.empty());
}

TEST_F(FolderTreeCommands, FullSizeAndBackKeepsThePanelWidth)
{
    // At the designed size the tag pages need more room than a full-height panel leaves them.
    form.show();
    ASSERT_EQ(form.PanelTopLeft->width(), 175);
    form.SetExplorerFull(true);
    // The panel keeps its width, and the window its own.
    EXPECT_EQ(form.PanelRightForFullTree->width(), 175);
    EXPECT_EQ(form.width(), 771);
    EXPECT_EQ(form.PanelTopLeft->parentWidget(), form.PanelRightForFullTree);
    EXPECT_EQ(form.PanelRightForFullTree->parentWidget(), form.Splitter1);
    EXPECT_TRUE(form.PanelTopLeft->isVisible() && form.PanelTopRight->isVisible() && form.panelright->isVisible());
    form.SetExplorerFull(false);
    EXPECT_EQ(form.PanelTopLeft->parentWidget(), form.Splitter1);
    EXPECT_EQ(form.Splitter1->parentWidget(), form.PanelTop);
    EXPECT_TRUE(form.PanelTopLeft->isVisible() && form.PanelTopRight->isVisible() && form.Splitter1->isVisible());
    EXPECT_EQ(form.PanelRightForFullTree->width(), 0);
    EXPECT_EQ(form.PanelTopLeft->width(), 175);

    // A width the user drags the full-height panel to comes back beside the grid.
    form.SetExplorerFull(true);
    form.resize(1200, 700);
    EXPECT_EQ(form.PanelRightForFullTree->width(), 175);
    QWidget* handle = form.Splitter1->handle(1);
    const QPoint grip = handle->rect().center();
    const int drag = 230 - form.PanelRightForFullTree->width();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(drag, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(drag, 0));
    ASSERT_EQ(form.PanelRightForFullTree->width(), 230);
    form.SetExplorerFull(false);
    EXPECT_EQ(form.PanelTopLeft->width(), 230);
}

TEST_F(FolderTreeCommands, TheSelectedFolderStaysInViewAfterEitherSwitch)
{
    form.FirstFolderChangePending = false;
    form.show();
    // More folders than either layout shows at once, the last of them selected.
    for (int number = 10; number < 50; ++number)
        QDir(folder.path()).mkdir(QString::number(number));
    FolderTree* tree = form.VETreeMain;
    tree->browseTo(folder.filePath("49"));
    const QPersistentModelIndex selected = tree->currentIndex();
    const auto inView = [&] {
        const QRect row = tree->visualRect(selected);
        return row.isValid() && row.top() >= 0 && row.bottom() < tree->viewport()->height();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(selected.parent()) == 41 && inView(); }));
    // The user's own click: the tree no longer follows the folder it was browsed to.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(selected).center());
    for (const bool full : {true, false}) {
        tree->scrollTo(selected, QAbstractItemView::PositionAtBottom);
        form.SetExplorerFull(full);
        EXPECT_TRUE(inView()) << full;
    }
}

TEST_F(FolderTreeCommands, SplitterKeepsTheFolderPanelWiderThanTenPixels)
{
    form.show();
    const QList<int> sizes = form.Splitter1->sizes();
    form.Splitter1->setSizes({5, sizes[0] + sizes[1] - 5});
    EXPECT_GT(form.PanelTopLeft->width(), 10);

    form.SetExplorerFull(true);
    const QList<int> fullSizes = form.Splitter1->sizes();
    form.Splitter1->setSizes({5, fullSizes[0] + fullSizes[1] - 5});
    EXPECT_GT(form.PanelRightForFullTree->width(), 10);
}

TEST_F(FolderTreeCommands, SwitchTypeTogglesTheLayoutAndWritesItAtOnce)
{
    form.show();
    form.OptionExplorerFull = false;
    emit form.PopupMenuTree->aboutToShow();
    EXPECT_EQ(form.miTreeSwitchType->text(), "&Switch explorer to full size");
    form.miTreeSwitchType->trigger();
    EXPECT_TRUE(form.OptionExplorerFull);
    EXPECT_EQ(form.PanelTopLeft->parentWidget(), form.PanelRightForFullTree);
    EXPECT_EQ(Registry().readBool("Option Explorer Full"), true);
    emit form.PopupMenuTree->aboutToShow();
    EXPECT_EQ(form.miTreeSwitchType->text(), "&Switch explorer to half size");
}
