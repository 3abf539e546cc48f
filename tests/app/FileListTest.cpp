#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "TestAudio.h"
#include "UnitMain.h"
#include "UnitProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QMenu>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Watches the application for progress windows being shown and records their bar at close.
class ProgressSpy : public QObject {
public:
    ProgressSpy() { qApp->installEventFilter(this); }
    ~ProgressSpy() override { qApp->removeEventFilter(this); }
    int shown = 0;
    int lastValue = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* progress = qobject_cast<TFormProgress*>(watched)) {
            if (event->type() == QEvent::Show)
                ++shown;
            if (event->type() == QEvent::Hide)
                lastValue = progress->ProgressBar1->value();
        }
        return false;
    }
};

class FileListTest : public ::testing::Test {
protected:
    FileListTest() { Registry().writeBool("Option Load Files Startup", false); }

    QStringList fileNames(const TFormMain& form) const
    {
        QStringList names;
        for (const auto& file : form.FileList)
            names.append(QFileInfo(file->FileName).fileName());
        return names;
    }

    QStringList writeFiles(int count)
    {
        QStringList paths;
        for (int i = 1; i <= count; ++i)
            paths.append(writeAudio(dir, QStringLiteral("song%1.mp3").arg(i, 2, 10, QLatin1Char('0'))));
        return paths;
    }

    SettingsHome home;
    ScriptedUserInterface messages;
    TempDir dir;
};

TEST_F(FileListTest, OpeningSkipsOtherExtensionsReportsMissingFilesAndStepsOnlyForOpenedOnes)
{
    const QString wav = dir.write("sound.wav", fixtures::sineWav(0.1));
    const QString mp2 = writeAudio(dir, "layer2.mp2", {}, {}, 2);
    ProgressSpy spy;
    TFormMain form;
    form.OpenFiles({wav, dir.filePath("missing.mp3"), mp2}, true);
    EXPECT_EQ(messages.texts(), QStringList({"The file 'missing.mp3' does not exit."}));
    EXPECT_EQ(messages.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(fileNames(form), QStringList({"layer2.mp2"}));
    EXPECT_EQ(form.vtgrid->model()->rowCount(), 1);
    EXPECT_EQ(spy.shown, 1);
    EXPECT_EQ(spy.lastValue, 1);
    EXPECT_EQ(form.sbMainPanels[0]->text(), " 1 open file(s)");
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(FileListTest, CancelWhileOpeningKeepsTheFilesOpenedSoFar)
{
    // Enough files that opening lets messages through, and with them the Cancel click, on the way.
    const QByteArray audio = readAll(writeAudio(dir, "model.mp3"));
    QStringList paths;
    for (int i = 0; i < 10000; ++i)
        paths.append(dir.write(QStringLiteral("many/%1.mp3").arg(i, 5, 10, QLatin1Char('0')), audio));
    TFormMain form;
    form.show();
    QTimer::singleShot(0, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<TFormProgress*>(window))
                progress->btnCancel->click();
        }
    });
    form.OpenFiles(paths, true);
    EXPECT_GT(form.FileList.size(), 0u);
    EXPECT_LT(form.FileList.size(), 10000u);
    EXPECT_EQ(form.sbMainPanels[0]->text(), QStringLiteral(" %1 open file(s)").arg(form.FileList.size()));
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(FileListTest, OpeningTakesNoLongerPerFileWithManyFilesOpen)
{
    // Each missing file is told in a box, which lets events through: the open files are looked at
    // again only when the list changed meanwhile.
    const QByteArray audio = readAll(writeAudio(dir, "model.mp3"));
    QStringList open;
    for (int i = 0; i < 2000; ++i)
        open.append(dir.write(QStringLiteral("many/%1.mp3").arg(i), audio));
    TFormMain form;
    form.OpenFiles(open, false);
    QElapsedTimer clock;
    clock.start();
    form.OpenFiles(QStringList(20000, dir.filePath("gone.mp3")), false);
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(FileListTest, OpeningWithTheProgressWindowLeavesTheFocusInTheGrid)
{
    TFormMain form;
    form.show();
    QApplication::setActiveWindow(&form);
    form.EditTitleV1->setFocus();
    form.OpenFiles(writeFiles(26), true);
    EXPECT_EQ(form.focusWidget(), form.vtgrid);
}

TEST_F(FileListTest, AnEmptyListChangesNothing)
{
    TFormMain form;
    form.OpenFiles({}, true);
    EXPECT_EQ(form.sbMainPanels[0]->text(), QString());
}

TEST_F(FileListTest, APathAlreadyOpenIsSkippedAndLetterCaseMakesAnotherFile)
{
    const QString lower = writeAudio(dir, "a.mp3");
    const QString upper = writeAudio(dir, "A.MP3");
    TFormMain form;
    form.OpenFiles({lower}, false);
    form.OpenFiles({lower, dir.path() + "/./a.mp3", upper}, false);
    EXPECT_EQ(fileNames(form), QStringList({"a.mp3", "A.MP3"}));
}

TEST_F(FileListTest, AFileOpenedWhileAMessageIsShownIsNotOpenedAgain)
{
    const QStringList paths = writeFiles(2);
    TFormMain form;
    // As the folder tree does when a change reaches it inside the box.
    messages.whileMessageShown = [&] { form.OpenFiles(paths, false); };
    form.OpenFiles({dir.filePath("missing.mp3"), paths[0], paths[1]}, false);
    EXPECT_EQ(fileNames(form), QStringList({"song01.mp3", "song02.mp3"}));
}

TEST_F(FileListTest, OpenAsksForFilesInTheDefaultFolderAndOpensThemSorted)
{
    const QStringList paths = writeFiles(3);
    TFormMain form;
    messages.fileAnswers.push_back({{paths[2], paths[0], paths[1]}, 0});
    form.miOpenClick();
    ASSERT_EQ(messages.fileRequests.size(), 1);
    EXPECT_EQ(messages.fileRequests[0].title, "Open Mpeg Audio Files");
    EXPECT_TRUE(messages.fileRequests[0].multiSelect);
    EXPECT_EQ(messages.fileRequests[0].initialFolder, home.programPath());
    EXPECT_EQ(fileNames(form), QStringList({"song01.mp3", "song02.mp3", "song03.mp3"}));
    EXPECT_EQ(form.DefaultFolderOpen, dir.path() + "/");
}

TEST_F(FileListTest, ClosingRowsTwoAndFourOfFiveSelectsTheFileAfterTheFirstClosed)
{
    TFormMain form;
    form.OpenFiles(writeFiles(5), false);
    form.vtgrid->selectionModel()->select(form.vtgridModel->index(1, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.vtgrid->selectionModel()->select(form.vtgridModel->index(3, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.miCloseClick();
    EXPECT_EQ(fileNames(form), QStringList({"song01.mp3", "song03.mp3", "song05.mp3"}));
    EXPECT_EQ(form.gridSelectedRows(), QList<int>({1}));
    EXPECT_EQ(form.gridFocusedRow(), 1);
    EXPECT_EQ(form.sbMainPanels[0]->text(), " 3 open file(s)");
}

TEST_F(FileListTest, ClosingTheLastRowsSelectsTheNewLastRowAndClosingAllEmptiesThePages)
{
    TFormMain form;
    form.OpenFiles(writeFiles(3), false);
    form.vtgrid->selectionModel()->select(form.vtgridModel->index(2, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.miCloseClick();
    EXPECT_EQ(form.gridSelectedRows(), QList<int>({1}));
    form.miSelectAllClick();
    form.miCloseClick();
    EXPECT_TRUE(form.FileList.empty());
    EXPECT_EQ(form.EditTitleV1->text(), QString());
    EXPECT_FALSE(form.ImgLightGreenV10->isVisibleTo(&form));
    EXPECT_FALSE(form.miClose->isEnabled());
    EXPECT_FALSE(form.miSave->isEnabled());
    EXPECT_TRUE(form.miCloseAll->isEnabled());
    EXPECT_TRUE(form.miSelectAll->isEnabled());
}

TEST_F(FileListTest, CloseAllOnAnEmptyListShowsZeroFiles)
{
    TFormMain form;
    form.miCloseAllClick();
    EXPECT_EQ(form.sbMainPanels[0]->text(), " 0 open file(s)");
}

TEST_F(FileListTest, RefreshAllStopsAtAFileDeletedMeanwhile)
{
    const QStringList paths = writeFiles(3);
    TFormMain form;
    form.OpenFiles(paths, false);
    TMpegFile* first = form.FileList[0].get();
    TMpegFile* third = form.FileList[2].get();
    QFile::remove(paths[1]);
    EXPECT_THROW(form.miRefreshAllClick(), std::exception);
    EXPECT_NE(form.FileList[0].get(), first);
    EXPECT_EQ(form.FileList[1]->FileName, paths[1]);
    EXPECT_EQ(form.FileList[2].get(), third);
}

TEST_F(FileListTest, RemoveTagFollowsTheActivePagesTagOfASingleFile)
{
    const QString v2Only = writeAudio(dir, "v2.mp3", fixtures::ID3v2TagBuilder(3).textFrame("TIT2", "T").padding(16).build());
    const QString plain = writeAudio(dir, "plain.mp3");
    TFormMain form;
    form.OpenFiles({v2Only, plain}, false);
    form.selectGridRow(0);
    EXPECT_FALSE(form.miRemoveTag->isEnabled());
    EXPECT_FALSE(form.ToolBtnRemove->isEnabled());
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    EXPECT_TRUE(form.miRemoveTag->isEnabled());
    form.PageControlTag->setCurrentWidget(form.TabSheetV1);
    form.miSelectAllClick();
    EXPECT_TRUE(form.miRemoveTag->isEnabled());
    EXPECT_TRUE(form.ToolBtnPlay->isEnabled());
}

TEST_F(FileListTest, SelectingAFileFillsBothPagesTheLightsAndTheInformation)
{
    fixtures::ID3v1Fields v1;
    v1.title = "Waterloo";
    v1.artist = "Abba";
    v1.track = 7;
    v1.genre = 17;
    const QByteArray v2 = fixtures::ID3v2TagBuilder(3)
                              .textFrame("TIT2", "Waterloo (v2)")
                              .textFrame("TCON", "(13)")
                              .textFrame("TCOM", "Composer")
                              .padding(16)
                              .build();
    const QString path = writeAudio(dir, "Abba - Waterloo.mp3", v2, fixtures::id3v1Block(v1));
    TFormMain form;
    form.OpenFiles({path, writeAudio(dir, "Abba - Waterloo again.mp3", v2, fixtures::id3v1Block(v1))}, false);
    form.selectGridRow(0);
    EXPECT_EQ(form.panelFilePath->text(), " File path: " + path);
    EXPECT_EQ(form.EditTitleV1->text(), "Waterloo");
    EXPECT_EQ(form.EditTrackV1->text(), "7");
    EXPECT_EQ(form.cbGenreV1->currentText(), "Rock");
    EXPECT_EQ(form.EditTitleV2->text(), "Waterloo (v2)");
    EXPECT_EQ(form.cbGenreV2->currentText(), "Pop");
    EXPECT_EQ(form.EditComposerV2->text(), "Composer");
    // Empty fields are guessed from the name, filled ones stay.
    EXPECT_EQ(form.EditArtistV2->text(), "Abba");
    EXPECT_TRUE(form.ImgLightGreenV11->isVisibleTo(&form));
    EXPECT_TRUE(form.ImgLightGreenV23->isVisibleTo(&form));
    EXPECT_FALSE(form.ImgLightGreenV10->isVisibleTo(&form));
    EXPECT_FALSE(form.ImgLightGreenV24->isVisibleTo(&form));
    EXPECT_FALSE(form.lbFileBitrate->text().isEmpty());
    EXPECT_EQ(form.vtgrid->model()->data(form.vtgridModel->index(0, 1)).toString(), "1.1");
    EXPECT_EQ(form.vtgrid->model()->data(form.vtgridModel->index(0, 4)).toString(), "Waterloo");
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    EXPECT_EQ(form.vtgrid->model()->data(form.vtgridModel->index(0, 4)).toString(), "Waterloo (v2)");
    // The texts show from their start also when the fields held them already.
    form.selectGridRow(1);
    EXPECT_EQ(form.EditTitleV2->cursorPosition(), 0);
    form.miRefreshAllClick();
    EXPECT_EQ(form.EditTitleV1->cursorPosition(), 0);
    EXPECT_EQ(form.EditComposerV2->cursorPosition(), 0);
}

TEST_F(FileListTest, GuessesFillEmptyFieldsOfBothPagesBeyondTheTypingLimits)
{
    Registry().writeString("Guess Format", "#TRACK#. #TITLE#");
    const QString path = writeAudio(dir, "123. A title that is longer than thirty characters.mp3");
    TFormMain form;
    form.OpenFiles({path}, false);
    form.selectGridRow(0);
    EXPECT_EQ(form.EditTrackV1->text(), "12");
    EXPECT_EQ(form.EditTrackV2->text(), "123");
    EXPECT_EQ(form.EditTitleV1->text(), "A title that is longer than thirty characters");
    EXPECT_EQ(form.EditTitleV2->text(), "A title that is longer than thirty characters");
    // A filled field shows the start of its text.
    EXPECT_EQ(form.EditTitleV1->cursorPosition(), 0);
    EXPECT_EQ(form.EditTitleV2->cursorPosition(), 0);
}

TEST_F(FileListTest, LongTextsShowTheirStartInACellAndBothEndsOfThePathInThePathLine)
{
    // Two right-to-left titles that differ only at their start, two paths only at their end.
    const QString folder = QString(150, 'f') + "/";
    const auto file = [&](const QString& name, const QString& title) {
        return writeAudio(dir, folder + name, fixtures::ID3v2TagBuilder(3).textFrame("TIT2", title, 1).build());
    };
    const QString filler(60, QChar(0x05D1));
    TFormMain form;
    form.show();
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.OpenFiles({file("a.mp3", QChar(0x05D0) + filler), file("b.mp3", QChar(0x05D2) + filler)}, false);
    const QImage grid = form.vtgrid->viewport()->grab().toImage();
    const auto cell = [&](int row) { return grid.copy(form.vtgrid->visualRect(form.vtgridModel->index(row, 4))); };
    EXPECT_NE(cell(0), cell(1));

    QImage lines[2];
    for (int row : {0, 1}) {
        form.selectGridRow(row);
        lines[row] = form.panelFilePath->grab().toImage();
    }
    EXPECT_NE(lines[0], lines[1]);
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), form.panelFilePath->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(form.panelFilePath, &hover);
    EXPECT_EQ(QToolTip::text(), "File path: " + form.FileList[1]->FileName);
}

TEST_F(FileListTest, SeveralSelectedFilesKeepTheFieldsButShowTheChangedRow)
{
    const QStringList paths = writeFiles(2);
    TFormMain form;
    form.OpenFiles(paths, false);
    form.selectGridRow(0);
    form.EditTitleV1->setText("typed");
    form.vtgrid->selectionModel()->setCurrentIndex(form.vtgridModel->index(1, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(form.EditTitleV1->text(), "typed");
    EXPECT_EQ(form.panelFilePath->text(), " File path: " + paths[1]);
}

TEST_F(FileListTest, AFocusedRowThatIsNoLongerSelectedGivesWayToTheFirstSelected)
{
    const QStringList paths = writeFiles(3);
    TFormMain form;
    form.OpenFiles(paths, false);
    QItemSelectionModel* selection = form.vtgrid->selectionModel();
    selection->select(form.vtgridModel->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(form.vtgridModel->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(form.vtgridModel->index(2, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    EXPECT_EQ(form.gridFocusedRow(), 0);
    EXPECT_EQ(form.panelFilePath->text(), " File path: " + paths[0]);
    EXPECT_EQ(form.EditArtistV1->text(), "song01");
}

TEST_F(FileListTest, AFileWithoutMpegInformationEmptiesTheInformationLabels)
{
    TFormMain form;
    form.ShowMpegInfo(writeAudio(dir, "good.mp3"));
    ASSERT_FALSE(form.lbFileSize->text().isEmpty());
    form.ShowMpegInfo(dir.write("noise.mp3", QByteArray(500, 'x')));
    for (QLabel* label : {form.lbFileSize, form.lbLength, form.lbFileMode, form.lbFileFrequency, form.lbFileBitrate,
                          form.lbFileVersion, form.lbFileLayer, form.lbFileCopyright, form.lbFileCRC, form.lbVbr})
        EXPECT_EQ(label->text(), QString());
    form.ShowMpegInfo(dir.filePath("gone.mp3"));
    EXPECT_EQ(form.lbFileSize->text(), QString());
}

TEST_F(FileListTest, SelectingSeveralRowsKeepsTheLightsOfTheSingleSelection)
{
    TFormMain form;
    form.OpenFiles({writeAudio(dir, "v11.mp3", {}, id3v1WithTrack("T", 3)), writeAudio(dir, "plain.mp3")}, false);
    form.selectGridRow(0);
    ASSERT_TRUE(form.ImgLightGreenV11->isVisibleTo(&form));
    form.miSelectAllClick();
    form.PageControlTagChange();
    EXPECT_TRUE(form.ImgLightGreenV11->isVisibleTo(&form));
}

TEST_F(FileListTest, ARightClickOnTheGridOpensThePopupOnlyWithASelection)
{
    TFormMain form;
    form.show();
    form.OpenFiles(writeFiles(2), false);
    form.vtgridMouseUp(Qt::RightButton);
    EXPECT_FALSE(form.Popup->isVisible());
    form.selectGridRow(1);
    form.vtgridMouseUp(Qt::LeftButton);
    EXPECT_FALSE(form.Popup->isVisible());
    form.vtgridMouseUp(Qt::RightButton);
    EXPECT_TRUE(form.Popup->isVisible());
    form.Popup->hide();
}

TEST_F(FileListTest, ARowWithoutAFileIsReported)
{
    TFormMain form;
    EXPECT_EQ(form.vtgridGetText(0, 3), QString());
    ASSERT_EQ(messages.texts(), QStringList({"Error, trying to index a file that does not exist!"}));
    EXPECT_EQ(messages.messages[0].icon, ui::Icon::None);
}

TEST_F(FileListTest, ACellOfARowWithoutAFileShowsThatItCouldNotBeLoaded)
{
    TFormMain form;
    form.vtgridModel->appendRow();
    EXPECT_EQ(form.vtgridModel->data(form.vtgridModel->index(0, 3), Qt::DisplayRole).toString(), "ERROR LOADING");
    EXPECT_EQ(messages.texts(), QStringList({"Error, trying to index a file that does not exist!"}));
}

TEST_F(FileListTest, GenreIndexOfIgnoresCaseAndNeverFindsTheEmptyEntry)
{
    TFormMain form;
    EXPECT_EQ(form.cbGenreV1->itemText(form.GenreIndexOf("rock")), "Rock");
    EXPECT_EQ(form.GenreIndexOf("no such genre"), -1);
    EXPECT_EQ(form.GenreIndexOf(""), -1);
}

TEST_F(FileListTest, SortingByTrackOrdersNumbersAndKeepsTheSelectionOnItsFile)
{
    TFormMain form;
    form.OpenFiles({writeAudio(dir, "a.mp3", fixtures::ID3v2TagBuilder(3).textFrame("TRCK", "2").padding(8).build()),
                    writeAudio(dir, "b.mp3", fixtures::ID3v2TagBuilder(3).textFrame("TRCK", "10").padding(8).build()),
                    writeAudio(dir, "c.mp3", fixtures::ID3v2TagBuilder(3).textFrame("TRCK", "3/12").padding(8).build())},
                   false);
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.selectGridRow(1);
    form.vtgridHeaderClick(8, Qt::LeftButton);
    EXPECT_EQ(fileNames(form), QStringList({"a.mp3", "c.mp3", "b.mp3"}));
    EXPECT_EQ(form.gridSelectedRows(), QList<int>({2}));
    EXPECT_EQ(form.gridFocusedRow(), 2);
    form.vtgridHeaderClick(3, Qt::LeftButton);
    EXPECT_EQ(fileNames(form), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(FileListTest, SortingIgnoresLetterCaseAndKeepsTheOrderOfEqualKeys)
{
    const auto titled = [this](const QString& name, const QByteArray& title) {
        return writeAudio(dir, name, fixtures::ID3v2TagBuilder(3).textFrame("TIT2", title).padding(8).build());
    };
    TFormMain form;
    form.OpenFiles({titled("1.mp3", "b"), titled("2.mp3", "Abba"), titled("3.mp3", "B"), titled("4.mp3", "abc"),
                    titled("5.mp3", "b")},
                   false);
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.SortFiles(4);
    EXPECT_EQ(fileNames(form), QStringList({"2.mp3", "4.mp3", "1.mp3", "3.mp3", "5.mp3"}));
}

TEST_F(FileListTest, EveryRowStaysOneLineHighInEveryOrder)
{
    TFormMain form;
    form.show();
    form.OpenFiles({writeAudio(dir, "b.mp3"),
                    writeAudio(dir, "a.mp3", fixtures::ID3v2TagBuilder(3).commentFrame("eng", "", "two\r\nlines").build())},
                   false);
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    const auto rowHeight = [&](int row) { return form.vtgrid->visualRect(form.vtgrid->model()->index(row, 10)).height(); };
    const int oneLine = rowHeight(0);
    form.SortFiles(3);
    EXPECT_EQ(rowHeight(0), oneLine);
    EXPECT_EQ(rowHeight(1), oneLine);
}

TEST_F(FileListTest, OtherHeaderButtonsFitTheColumnToItsWidestText)
{
    TFormMain form;
    form.OpenFiles(writeFiles(2), false);
    form.vtgridHeaderClick(3, Qt::RightButton);
    const int expected = QFontMetrics(form.vtgrid->font()).horizontalAdvance("song01.mp3") + 10;
    EXPECT_EQ(form.vtgrid->columnWidth(3), expected);
    form.miCloseAllClick();
    form.vtgridHeaderClick(3, Qt::MiddleButton);
    EXPECT_EQ(form.vtgrid->columnWidth(3), 10);
}

TEST_F(FileListTest, ClicksOnTheHeaderSortWithTheLeftButtonAndFitWithTheRight)
{
    TFormMain form;
    form.show();
    const QStringList paths = writeFiles(3);
    form.OpenFiles({paths[2], paths[0], paths[1]}, false);
    QHeaderView* header = form.vtgrid->header();
    const QPoint filename(header->sectionViewportPosition(3) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, filename);
    EXPECT_EQ(fileNames(form), QStringList({"song01.mp3", "song02.mp3", "song03.mp3"}));
    QTest::mouseClick(header->viewport(), Qt::RightButton, {}, filename);
    EXPECT_EQ(form.vtgrid->columnWidth(3), QFontMetrics(form.vtgrid->font()).horizontalAdvance("song01.mp3") + 10);
}

struct MoveCase {
    const char* name;
    QList<int> selected;
    bool up;
    QStringList order;
    QList<int> selectedAfter;
};

TEST_F(FileListTest, MovingUpAndDownMovesBlocksAndSingleRows)
{
    const MoveCase cases[] = {
        {"block up", {1, 2}, true, {"song02.mp3", "song03.mp3", "song01.mp3", "song04.mp3", "song05.mp3"}, {0, 1}},
        {"rows up", {1, 3}, true, {"song02.mp3", "song01.mp3", "song04.mp3", "song03.mp3", "song05.mp3"}, {0, 2}},
        {"first row up", {0, 2}, true, {"song01.mp3", "song02.mp3", "song03.mp3", "song04.mp3", "song05.mp3"}, {0, 2}},
        {"block down", {2, 3}, false, {"song01.mp3", "song02.mp3", "song05.mp3", "song03.mp3", "song04.mp3"}, {3, 4}},
        {"rows down", {0, 2}, false, {"song02.mp3", "song01.mp3", "song04.mp3", "song03.mp3", "song05.mp3"}, {1, 3}},
        {"last row down", {1, 4}, false, {"song01.mp3", "song02.mp3", "song03.mp3", "song04.mp3", "song05.mp3"}, {1, 4}},
    };
    const QStringList paths = writeFiles(5);
    for (const MoveCase& move : cases) {
        SCOPED_TRACE(move.name);
        TFormMain form;
        form.OpenFiles(paths, false);
        for (int row : move.selected)
            form.vtgrid->selectionModel()->select(form.vtgridModel->index(row, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (move.up)
            form.miMoveUpClick();
        else
            form.miMoveDownClick();
        EXPECT_EQ(fileNames(form), move.order);
        EXPECT_EQ(form.gridSelectedRows(), move.selectedAfter);
    }
}

TEST_F(FileListTest, ADropOpensFolderFilesAndLooseFilesAndIgnoresOthers)
{
    TempDir drop;
    writeAudio(drop, "folder/inner/b.mp3");
    writeAudio(drop, "folder/a.mp3");
    drop.write("folder/notes.mp2", "not audio either");
    const QString loose = writeAudio(drop, "c.mp3");
    const QString text = drop.write("readme.txt", "text");
    ProgressSpy spy;
    TFormMain form;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(drop.filePath("folder")), QUrl::fromLocalFile(loose), QUrl::fromLocalFile(text),
                  QUrl::fromLocalFile(drop.filePath("gone.mp3"))});
    form.vtgridDragDrop(&data, -1);
    // One sorted list of full paths: the loose file's path sorts before the folder's.
    EXPECT_EQ(fileNames(form), QStringList({"c.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(spy.shown, 1);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(FileListTest, ADroppedPlaylistOpensItsFilesBeforeTheLooseFiles)
{
    const QString listed = writeAudio(dir, "z-listed.mp3");
    const QString loose = writeAudio(dir, "a-loose.mp3");
    const QString playlist =
        dir.write("list.pls", "[playlist]\r\nFile1=" + listed.toUtf8() + "\r\nNumberOfEntries=1\r\nVersion=2\r\n");
    TFormMain form;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(loose), QUrl::fromLocalFile(playlist)});
    form.vtgridDragDrop(&data, -1);
    EXPECT_EQ(fileNames(form), QStringList({"z-listed.mp3", "a-loose.mp3"}));
}

TEST_F(FileListTest, FilesDroppedOnTheGridFromAnotherProgramAreOpened)
{
    const QString song = writeAudio(dir, "dropped.mp3");
    TFormMain form;
    form.show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(song)});
    const QPoint point = form.vtgrid->viewport()->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.vtgrid->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.vtgrid->viewport(), &drop);
    EXPECT_EQ(fileNames(form), QStringList({"dropped.mp3"}));
}

TEST_F(FileListTest, ADropOfATextFileDoesNothing)
{
    TFormMain form;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.write("readme.txt", "text"))});
    form.vtgridDragDrop(&data, -1);
    EXPECT_TRUE(form.FileList.empty());
}

TEST_F(FileListTest, RowsDraggedInsideTheGridGoAfterTheTargetInTheirOrder)
{
    TFormMain form;
    form.OpenFiles(writeFiles(5), false);
    for (int row : {0, 2})
        form.vtgrid->selectionModel()->select(form.vtgridModel->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.vtgridDragDrop(nullptr, 3);
    EXPECT_EQ(fileNames(form), QStringList({"song02.mp3", "song04.mp3", "song01.mp3", "song03.mp3", "song05.mp3"}));
    EXPECT_TRUE(form.gridSelectedRows().isEmpty());
}

// Shows messages as a real message box does: the grid repaints every row while the box is open.
class RepaintingUserInterface : public ScriptedUserInterface {
public:
    ui::Answer messageBox(const QString& text, ui::Icon icon, ui::Buttons buttons, const QString& title) override
    {
        const ui::Answer answer = ScriptedUserInterface::messageBox(text, icon, buttons, title);
        if (grid && !painting) {
            painting = true;
            for (int row = 0; row < grid->rowCount(); ++row)
                grid->data(grid->index(row, 3));
            painting = false;
        }
        return answer;
    }

    const QAbstractItemModel* grid = nullptr;

private:
    bool painting = false;
};

TEST(FileListDragTest, ADraggedFileDeletedMeanwhileIsReportedWithoutRowsBeyondTheList)
{
    SettingsHome home;
    Registry().writeBool("Option Load Files Startup", false);
    TempDir dir;
    RepaintingUserInterface messages;
    QStringList paths;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        paths.append(writeAudio(dir, name));
    TFormMain form;
    form.OpenFiles(paths, false);
    messages.grid = form.vtgridModel;
    form.selectGridRow(0);
    QFile::remove(paths[0]);
    form.vtgridDragDrop(nullptr, 2);
    EXPECT_FALSE(messages.texts().isEmpty());
    EXPECT_FALSE(messages.texts().contains("Error, trying to index a file that does not exist!"));
    ASSERT_EQ(form.FileList.size(), 3u);
    EXPECT_EQ(form.FileList[2]->FileName, paths[0]);
}

TEST_F(FileListTest, RowsDraggedOntoASelectedRowStayButTheSelectionIsCleared)
{
    TFormMain form;
    form.OpenFiles(writeFiles(3), false);
    form.selectGridRow(1);
    form.vtgridDragDrop(nullptr, 1);
    EXPECT_EQ(fileNames(form), QStringList({"song01.mp3", "song02.mp3", "song03.mp3"}));
    EXPECT_TRUE(form.gridSelectedRows().isEmpty());
}

TEST_F(FileListTest, RowColoursFollowTheTagsWhenSwitchedOn)
{
    Registry().writeBool("Use Grid Colors", true);
    Registry().writeInteger("Color V1", static_cast<qint32>(0xFF112233u));
    Registry().writeInteger("Color No Tag", static_cast<qint32>(0xFF445566u));
    TFormMain form;
    form.OpenFiles({writeAudio(dir, "v1.mp3", {}, id3v1WithTrack("T", 1)), writeAudio(dir, "none.mp3")}, false);
    EXPECT_EQ(form.vtgridModel->data(form.vtgridModel->index(0, 3), Qt::BackgroundRole).value<QColor>(),
              QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(form.vtgridModel->data(form.vtgridModel->index(1, 3), Qt::BackgroundRole).value<QColor>(),
              QColor(0x44, 0x55, 0x66));
    // Whatever the colour scheme's text colour, a row's text is black or white, whichever stands out
    // more from the row's own colour (#00A400: 6.3:1 black, 3.3:1 white).
    for (const auto& [colour, black] : {std::pair{0xFF112233u, false}, {0xFFFFFFE0u, true}, {0xFF00A400u, true}}) {
        form.ColorV1 = static_cast<qint32>(colour);
        const QVariant text = form.vtgridModel->data(form.vtgridModel->index(0, 3), Qt::ForegroundRole);
        EXPECT_EQ(text.value<QColor>().name(), black ? "#000000" : "#ffffff") << std::hex << colour;
    }
    form.UseGridColors = false;
    EXPECT_FALSE(form.vtgridModel->data(form.vtgridModel->index(0, 3), Qt::BackgroundRole).isValid());
}

}  // namespace
