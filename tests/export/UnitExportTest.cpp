#include "ExportFieldList.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TextFile.h"
#include "UnitExport.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

void select(QListWidget* list, const QStringList& names)
{
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(names.contains(list->item(i)->text()));
}

// A drag of fields from the list named sourceName entering the widget at point and dropped there.
void drop(QWidget* target, const QPoint& point, const QString& sourceName)
{
    QMimeData data;
    data.setData("application/x-corvane-export-fields", sourceName.toUtf8());
    QDragEnterEvent enter(point, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(point), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void doubleClick(QListWidget* list, const QPoint& point)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

QPoint itemCentre(QListWidget* list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

// The open files and the active page the dialog reads.
class Grid {
public:
    ExportSource source()
    {
        return {[this] { return static_cast<int>(files.size()); }, [this](int row) -> const TMpegFile& { return *files.at(row); },
                [this] { return id3v1Page; }};
    }

    TMpegFile& add(const QString& fileName)
    {
        files.push_back(std::make_unique<TMpegFile>());
        files.back()->FileName = fileName;
        return *files.back();
    }

    std::vector<std::unique_ptr<TMpegFile>> files;
    bool id3v1Page = true;
};

class ExportDialog : public ::testing::Test {
protected:
    std::unique_ptr<TFormExport> make(const QString& fields)
    {
        exportFields = fields;
        auto form = std::make_unique<TFormExport>(exportFields, grid.source());
        form->resize(500, 400);
        form->show();
        return form;
    }

    ScriptedUserInterface script;
    TempDir dir;
    Grid grid;
    QString exportFields;
};

}  // namespace

TEST_F(ExportDialog, StartsWithTheStoredFieldsOnTheRightAndTheOthersInOrderOnTheLeft)
{
    auto form = make("Title;Artist");
    EXPECT_EQ(form->windowTitle(), "Export File List");
    EXPECT_EQ(texts(form->lbExport), QStringList({"Title", "Artist"}));
    EXPECT_EQ(texts(form->lbAvailable), QStringList({"File Name", "Path", "Album", "Year", "Track", "Genre", "Comment",
                                                     "KBps", "Size (kb)", "Length"}));
    EXPECT_TRUE(form->rbHtml->isChecked());
}

TEST_F(ExportDialog, StoredPartsAreTakenAsTheyAreEvenUnknownOrEmpty)
{
    auto form = make("Rating;;Year");
    EXPECT_EQ(texts(form->lbExport), QStringList({"Rating", "", "Year"}));
    EXPECT_EQ(form->lbAvailable->count(), 11);
    EXPECT_FALSE(texts(form->lbAvailable).contains("Year"));
}

TEST_F(ExportDialog, StoredFieldsTakeTheirAvailableEntriesWhateverTheirCase)
{
    auto form = make("title;ARTIST");
    EXPECT_EQ(texts(form->lbExport), QStringList({"title", "ARTIST"}));
    EXPECT_EQ(texts(form->lbAvailable), QStringList({"File Name", "Path", "Album", "Year", "Track", "Genre", "Comment",
                                                     "KBps", "Size (kb)", "Length"}));
}

TEST_F(ExportDialog, NoStoredFieldsLeavesTheExportListEmpty)
{
    auto form = make("");
    EXPECT_EQ(form->lbExport->count(), 0);
    EXPECT_EQ(texts(form->lbAvailable), ExportFieldNames);
}

TEST_F(ExportDialog, EveryCloseStoresTheExportedFields)
{
    auto form = make("Title");
    form->MoveAllItems(form->lbAvailable, form->lbExport);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    const QString all = "Title;" + ExportFieldNames.mid(0, 2).join(';') + ";" + ExportFieldNames.mid(3).join(';');
    EXPECT_EQ(exportFields, all);
    EXPECT_EQ(Registry().readString("Export Fields"), all);

    form->show();
    form->MoveAllItems(form->lbExport, form->lbAvailable);
    form->MoveSelectedItems(form->lbAvailable, form->lbExport, -1);
    select(form->lbAvailable, {"Path", "Year"});
    form->MoveSelectedItems(form->lbAvailable, form->lbExport, -1);
    QTest::mouseClick(form->btnClose, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(exportFields, "Year;Path");
    EXPECT_EQ(Registry().readString("Export Fields"), "Year;Path");
}

TEST_F(ExportDialog, MovedSelectionArrivesInReverseOrderAtTheEnd)
{
    auto form = make("Length");
    select(form->lbAvailable, {"Title", "Artist", "Album"});
    QTest::mouseClick(form->btnRight, Qt::LeftButton);
    EXPECT_EQ(texts(form->lbExport), QStringList({"Length", "Album", "Artist", "Title"}));
    EXPECT_FALSE(texts(form->lbAvailable).contains("Artist"));
    EXPECT_EQ(form->lbAvailable->count(), 8);

    select(form->lbExport, {"Length", "Title"});
    QTest::mouseClick(form->btnLeft, Qt::LeftButton);
    EXPECT_EQ(texts(form->lbExport), QStringList({"Album", "Artist"}));
    EXPECT_EQ(texts(form->lbAvailable).mid(8), QStringList({"Title", "Length"}));
}

TEST_F(ExportDialog, DoubleClicksMoveTheSelection)
{
    auto form = make("");
    doubleClick(form->lbAvailable, itemCentre(form->lbAvailable, 7));
    EXPECT_EQ(texts(form->lbExport), QStringList({"Genre"}));
    doubleClick(form->lbExport, itemCentre(form->lbExport, 0));
    EXPECT_EQ(form->lbExport->count(), 0);
    EXPECT_EQ(texts(form->lbAvailable).last(), "Genre");
}

TEST_F(ExportDialog, MoveAllKeepsTheOrder)
{
    auto form = make("Year;Title");
    QTest::mouseClick(form->btnAllRight, Qt::LeftButton);
    EXPECT_EQ(texts(form->lbExport).mid(0, 3), QStringList({"Year", "Title", "File Name"}));
    EXPECT_EQ(form->lbExport->count(), 12);
    QTest::mouseClick(form->btnAllLeft, Qt::LeftButton);
    EXPECT_EQ(texts(form->lbAvailable).mid(0, 3), QStringList({"Year", "Title", "File Name"}));
    EXPECT_EQ(form->lbExport->count(), 0);
}

TEST_F(ExportDialog, ADropOnAnItemInsertsTheSelectionBeforeItInOrder)
{
    auto form = make("Length;Year");
    select(form->lbAvailable, {"Title", "Artist", "Album"});
    drop(form->lbExport->viewport(), itemCentre(form->lbExport, 1), "lbAvailable");
    EXPECT_EQ(texts(form->lbExport), QStringList({"Length", "Title", "Artist", "Album", "Year"}));
}

// The drop index is the count before the move: the last item is appended, the others go before it.
TEST_F(ExportDialog, ADropBelowTheLastItemAppendsInListOrder)
{
    auto form = make("Length");
    select(form->lbAvailable, {"Title", "Artist", "Album"});
    drop(form->lbExport->viewport(), QPoint(5, form->lbExport->viewport()->height() - 5), "lbAvailable");
    EXPECT_EQ(texts(form->lbExport), QStringList({"Length", "Title", "Artist", "Album"}));
}

TEST_F(ExportDialog, ADropBackOnTheAvailableListMovesFieldsBack)
{
    auto form = make("Title;Artist");
    select(form->lbExport, {"Artist"});
    drop(form->lbAvailable->viewport(), itemCentre(form->lbAvailable, 0), "lbExport");
    EXPECT_EQ(texts(form->lbAvailable).mid(0, 2), QStringList({"Artist", "File Name"}));
    EXPECT_EQ(texts(form->lbExport), QStringList({"Title"}));
}

TEST_F(ExportDialog, ADropWithinTheListOnAnItemAboveMovesTheSelectionThere)
{
    auto form = make("A;B;C;D;E");
    select(form->lbExport, {"C", "E"});
    drop(form->lbExport->viewport(), itemCentre(form->lbExport, 1), "lbExport");
    EXPECT_EQ(texts(form->lbExport), QStringList({"A", "E", "C", "B", "D"}));
}

TEST_F(ExportDialog, ADropWithinTheListOnAnItemBelowMovesTheSelectionThere)
{
    auto form = make("A;B;C;D;E");
    select(form->lbExport, {"A", "B"});
    drop(form->lbExport->viewport(), itemCentre(form->lbExport, 3), "lbExport");
    EXPECT_EQ(texts(form->lbExport), QStringList({"C", "A", "B", "D", "E"}));
}

TEST_F(ExportDialog, ADropOnTheScrollBarPutsTheSelectionAtTheEndOnce)
{
    QStringList letters;
    for (char c = 'A'; c <= 'Z'; ++c)
        letters << QString(QChar(c));
    auto form = make(letters.join(';'));
    QScrollBar* scrollBar = form->lbExport->verticalScrollBar();
    ASSERT_TRUE(scrollBar->isVisible());
    select(form->lbExport, {"A", "C"});
    drop(scrollBar, scrollBar->rect().center(), "lbExport");
    EXPECT_EQ(texts(form->lbExport).mid(22), QStringList({"Y", "Z", "A", "C"}));
    EXPECT_EQ(form->lbExport->count(), 26);
}

TEST_F(ExportDialog, DragsFromElsewhereAreNotTaken)
{
    auto form = make("A;B");
    select(form->lbExport, {"A"});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.mp3")});
    QDropEvent event(QPointF(itemCentre(form->lbExport, 1)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->lbExport->viewport(), &event);
    EXPECT_EQ(texts(form->lbExport), QStringList({"A", "B"}));
}

TEST_F(ExportDialog, ExportingNoFieldIsRefused)
{
    auto form = make("");
    QTest::mouseClick(form->btnExport, Qt::LeftButton);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0].text, "You must select at least one field to export.");
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_TRUE(script.fileRequests.isEmpty());
}

TEST_F(ExportDialog, EachFormatOffersItsFilterAndDefaultExtension)
{
    auto form = make("Title");
    const std::tuple<QRadioButton*, const char*, const char*> formats[] = {
        {form->rbExcel, "Excel files (*.xls) (*.xls);;All files (*.*) (*.*)", "xls"},
        {form->rbCSV, "CSV files (*.csv) (*.csv);;All files (*.*) (*.*)", "txt"},
        {form->rbHtml, "Html files (*.htm) (*.htm*);;All files (*.*) (*.*)", "htm"},
    };
    for (const auto& [button, filter, extension] : formats) {
        button->setChecked(true);
        form->btnExportClick();
        ASSERT_FALSE(script.fileRequests.isEmpty());
        EXPECT_EQ(script.fileRequests.last().title, "Save exported file list");
        EXPECT_EQ(script.fileRequests.last().filter, filter);
        EXPECT_EQ(script.fileRequests.last().defaultExtension, extension);
    }
    EXPECT_EQ(script.fileRequests.size(), 3);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportDialog, EveryGridRowIsExportedWithTheActivePageTexts)
{
    TMpegFile& first = grid.add(dir.write("a.mp3", QByteArray(1500, 'a')));
    setID3v1(first, {.Title = "V1 Title"}, 4, 17);
    setID3v2(first, {.Title = "V2 Title", .Track = "4/9"});
    first.Duration = 245;
    grid.add(dir.write("sub/b.mp3", QByteArray(2501, 'b'))).Bitrate = 128;

    auto form = make("File Name;Title;Track;Size (kb);Length;KBps");
    form->rbCSV->setChecked(true);
    const QString target = dir.filePath("list.txt");
    script.fileAnswers.push_back({{target}, 0});
    QTest::mouseClick(form->btnExport, Qt::LeftButton);
    EXPECT_EQ(readAll(target),
              "File Name;Title;Track;Size (kb);Length;KBps;\r\n"
              "a.mp3;V1 Title;4;2;4:05;0;\r\n"
              "b.mp3;;;3;0:00;128;\r\n");

    grid.id3v1Page = false;
    script.fileAnswers.push_back({{target}, 0});
    form->btnExportClick();
    EXPECT_EQ(readAll(target),
              "File Name;Title;Track;Size (kb);Length;KBps;\r\n"
              "a.mp3;V2 Title;4/9;2;4:05;0;\r\n"
              "b.mp3;;;3;0:00;128;\r\n");
    EXPECT_EQ(script.fileRequests.last().fileName, target);
    EXPECT_EQ(script.fileRequests.last().initialFolder, dir.path());
}

TEST_F(ExportDialog, NoOpenFileWritesOnlyTheFieldNames)
{
    auto form = make("Title;Length");
    const QString target = dir.filePath("list.htm");
    script.fileAnswers.push_back({{target}, 0});
    form->btnExportClick();
    const QByteArray page = readAll(target);
    EXPECT_TRUE(page.contains("<tr class=tableHeader>\r\n  <td>Title</td>\r\n  <td>Length</td>\r\n</tr>\r\n</table>"));
    EXPECT_FALSE(page.contains("BlueRow>"));
}

TEST_F(ExportDialog, ACancelledSaveDialogWritesNothing)
{
    grid.add(dir.write("a.mp3", "a"));
    auto form = make("Title");
    form->btnExportClick();
    EXPECT_EQ(script.fileRequests.size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"a.mp3"}));
}

TEST_F(ExportDialog, AVanishedFileEndsTheExportAndRestoresTheCursor)
{
    grid.add(dir.filePath("gone.mp3"));
    auto form = make("Size (kb)");
    script.fileAnswers.push_back({{dir.filePath("list.txt")}, 0});
    EXPECT_THROW(form->btnExportClick(), TextFileError);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(script.fileRequests.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("list.txt")));
}

// Records whether the hourglass was up when the save dialog was shown.
class CursorWatchingUserInterface : public ScriptedUserInterface {
public:
    ui::FileDialogResult saveFile(const ui::FileDialogRequest& request) override
    {
        busyAtDialog = QApplication::overrideCursor() != nullptr;
        return ScriptedUserInterface::saveFile(request);
    }
    bool busyAtDialog = true;
};

TEST_F(ExportDialog, TheHourglassShowsWhileTheTableIsBuiltButNotOverTheSaveDialog)
{
    grid.add(dir.write("a.mp3", "a"));
    CursorWatchingUserInterface watch;
    exportFields = "Title";
    ExportSource source = grid.source();
    std::optional<Qt::CursorShape> buildCursor;
    const auto rowCount = source.rowCount;
    source.rowCount = [&] {
        buildCursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        return rowCount();
    };
    TFormExport watched(exportFields, source);
    watched.btnExportClick();
    EXPECT_EQ(buildCursor, Qt::WaitCursor);
    EXPECT_FALSE(watch.busyAtDialog);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportDialog, TheWorkbookChoiceWritesAWorkbook)
{
    grid.add(dir.write("a.mp3", "a"));
    auto form = make("File Name");
    form->rbExcel->setChecked(true);
    const QString target = dir.filePath("list.xls");
    script.fileAnswers.push_back({{target}, 0});
    form->btnExportClick();
    EXPECT_TRUE(readAll(target).startsWith("PK"));
}
