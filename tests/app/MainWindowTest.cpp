#include "Application.h"
#include "ChmArchive.h"
#include "FolderTree.h"
#include "HelpFileMaker.h"
#include "HelpViewer.h"
#include "ProgramFolder.h"
#include "ProgramIcon.h"
#include "UnitAbout.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "UnitMain.h"
#include "UrlRecorder.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QRegularExpression>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    SettingsHome home;
    ScriptedUserInterface messages;
};

TEST_F(MainWindowTest, HasItsCaptionAndSizes)
{
    TFormMain form;
    EXPECT_EQ(form.windowTitle(), "Corvane");
    EXPECT_EQ(form.size(), QSize(771, 564));
    // As designed, or larger where the fonts need more room.
    EXPECT_EQ(form.minimumSize(), QSize(600, 380).expandedTo(form.minimumSizeHint()));
    EXPECT_EQ(form.panelFilePath->text(), " File path:");
    EXPECT_EQ(form.chkSubfolders->text(), "Open files in subfolders");
    EXPECT_EQ(form.PageControlTag->tabText(0), "Tag ID3 V1");
    EXPECT_EQ(form.PageControlTag->tabText(1), "Tag ID3 V2");
    EXPECT_EQ(form.PageControlTag->currentWidget(), form.TabSheetV1);
    EXPECT_EQ(form.PanelRightForFullTree->width(), 0);
}

TEST_F(MainWindowTest, AtTheSmallestSizePageV2ShowsEveryCaptionWholeAndFourCharactersOfEveryField)
{
    TFormMain form;
    form.show();
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    form.resize(600, 380);
    const auto children = Qt::FindDirectChildrenOnly;
    for (const QToolButton* lock : form.TabSheetV2->findChildren<QToolButton*>(children))
        EXPECT_GE(lock->width(), lock->sizeHint().width()) << lock->text().toStdString();
    for (const QLineEdit* field : form.TabSheetV2->findChildren<QLineEdit*>(children))
        EXPECT_GE(field->width(), field->minimumSizeHint().width() + 4 * field->fontMetrics().averageCharWidth());
}

TEST_F(MainWindowTest, StatusBarHasFourPanelsAndShowsTheVersion)
{
    TFormMain form;
    const int widths[] = {100, 130, 175, 275};
    for (int panel = 1; panel < 4; ++panel)
        EXPECT_EQ(form.sbMainPanels[panel]->width(), widths[panel]);
    // Panel 0 as designed, or wider where the font needs it for five digits.
    QLabel* count = form.sbMainPanels[0];
    count->setText(" 99999 open file(s)");
    EXPECT_EQ(count->width(), std::max(widths[0], count->sizeHint().width()));
    form.show();
    EXPECT_EQ(form.sbMainPanels[1]->text(), "Corvane v2.3");
    EXPECT_EQ(form.sbMainPanels[3]->text(), QString());
}

TEST_F(MainWindowTest, TheFolderPanelStartsWithItsStoredWidth)
{
    Registry().writeInteger("Panel Top Left Width", 220);
    TFormMain form;
    form.show();
    EXPECT_EQ(form.PanelTopLeft->width(), 220);
    // In the full-height layout too, maximized or not, and the window keeps its width.
    Registry().writeBool("Option Explorer Full", true);
    Registry().writeBool("Option Remember Position", true);
    for (const bool maximized : {false, true}) {
        Registry().writeBool("Form Fullscreen", maximized);
        TFormMain full;
        full.show();
        const int width = maximized ? full.screen()->availableGeometry().width() : 771 + full.frameSize().width() - full.width();
        EXPECT_TRUE(QTest::qWaitFor([&] { return full.frameSize().width() == width; })) << full.width();
        EXPECT_EQ(full.PanelTopLeft->width(), 220);
    }
}

TEST_F(MainWindowTest, ShowSelectsTheDefaultFolderInTheTreeAndTheSubfolderBox)
{
    Registry().writeString("Default Folder Open", home.programPath());
    Registry().writeBool("Recurse Folder Explorer", true);
    TFormMain form;
    form.show();
    EXPECT_EQ(form.VETreeMain->selectedPath() + "/", home.programPath());
    EXPECT_TRUE(form.chkSubfolders->isChecked());
}

TEST_F(MainWindowTest, GridHasItsElevenColumns)
{
    TFormMain form;
    const char* headers[] = {"Path", "V1", "V2", "Filename", "Title", "Artist", "Album", "Year", "Track", "Genre", "Comment"};
    const int widths[] = {50, 25, 25, 125, 125, 125, 125, 40, 50, 100, 250};
    ASSERT_EQ(form.vtgrid->model()->columnCount(), 11);
    for (int column = 0; column < 11; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(form.vtgrid->model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        EXPECT_EQ(form.vtgrid->isColumnHidden(column), column == 0);
        if (column > 0) {
            EXPECT_EQ(form.vtgrid->columnWidth(column), widths[column]);
        }
        EXPECT_EQ(form.vtgrid->header()->sectionResizeMode(column) == QHeaderView::Fixed, column < 3);
    }
    EXPECT_EQ(form.vtgrid->model()->rowCount(), 0);
}

TEST_F(MainWindowTest, TagPagesHaveTheirFieldLimitsAndLocks)
{
    TFormMain form;
    const struct {
        QLineEdit* field;
        int limit;
    } limits[] = {{form.EditTitleV1, 30}, {form.EditArtistV1, 30}, {form.EditAlbumV1, 30}, {form.EditYearV1, 4},
                  {form.EditTrackV1, 2}, {form.EditCommentV1, 28}, {form.EditTitleV2, 40}};
    for (const auto& limit : limits) {
        QTest::keyClicks(limit.field, QString(40, '7'));
        EXPECT_EQ(limit.field->text().size(), limit.limit);
        // Only typing is limited: the program may set a longer text, such as a guess. Digits, so
        // that the year and track fields keep it.
        limit.field->setText(QString(35, '7'));
        EXPECT_EQ(limit.field->text().size(), 35);
    }
    EXPECT_FALSE(form.cbGenreV1->isEditable());
    EXPECT_TRUE(form.cbGenreV2->isEditable());
    EXPECT_EQ(form.sbtnTitleV1->text(), "Title");
    EXPECT_EQ(form.sbtnTitleV1->toolTip(), "Use this title for all selected files");
    EXPECT_EQ(form.sbtnEncoderV2->toolTip(), "Use this software/hardware encoder for all selected files");
    EXPECT_EQ(form.sbtnOrigArtistV2->text(), "Orig. Artist");
    EXPECT_EQ(form.sbtnOrigArtistV2->toolTip(), "Use this original artist for all selected files");
    EXPECT_TRUE(form.sbtnUrlV2->isCheckable());
    EXPECT_FALSE(form.sbtnUrlV2->isChecked());
}

TEST_F(MainWindowTest, GenreListsHoldAnEmptyEntryThenTheNamesSortedWithTheirNumbers)
{
    TFormMain form;
    for (QComboBox* box : {form.cbGenreV1, form.cbGenreV2}) {
        ASSERT_EQ(box->count(), 149);
        EXPECT_EQ(box->itemText(0), QString());
        EXPECT_EQ(box->itemData(0).toInt(), 0);
        for (int position = 2; position < box->count(); ++position)
            EXPECT_LE(box->itemText(position - 1).compare(box->itemText(position), Qt::CaseInsensitive), 0);
        const int rock = box->findText("Rock");
        ASSERT_GT(rock, 0);
        EXPECT_EQ(box->itemData(rock).toInt(), 17);
        EXPECT_EQ(box->itemData(box->findText("Blues")).toInt(), 0);
    }
}

TEST_F(MainWindowTest, LightsAndInformationStartOff)
{
    TFormMain form;
    form.show();
    EXPECT_EQ(form.lbTagV10->text(), "Tag ID3 V1.0");
    EXPECT_EQ(form.lbTagV24->text(), "Tag ID3 V2.4");
    for (QLabel* green : {form.ImgLightGreenV10, form.ImgLightGreenV11, form.imgLightGreenV22, form.ImgLightGreenV23,
                          form.ImgLightGreenV24})
        EXPECT_FALSE(green->isVisible());
    for (QLabel* label : {form.lbFileSize, form.lbLength, form.lbFileMode, form.lbFileFrequency, form.lbFileBitrate,
                          form.lbFileVersion, form.lbFileLayer, form.lbFileCopyright, form.lbFileCRC, form.lbVbr})
        EXPECT_EQ(label->text(), QString());
    form.SetTagLights(false, true, false, true, false);
    EXPECT_TRUE(form.ImgLightGreenV11->isVisible());
    EXPECT_TRUE(form.ImgLightGreenV23->isVisible());
    EXPECT_FALSE(form.ImgLightGreenV10->isVisible());
}

struct MenuItem {
    const char* menu;
    const char* caption;
    QKeySequence shortcut;
    const char* hint;
};

QAction* findItem(QMenu* menu, const QString& caption)
{
    for (QAction* action : menu->actions()) {
        if (QString(action->text()).remove('&') == caption)
            return action;
        if (action->menu()) {
            if (QAction* inner = findItem(action->menu(), caption))
                return inner;
        }
    }
    return nullptr;
}

TEST_F(MainWindowTest, EveryMenuItemHasItsCaptionShortcutAndHint)
{
    const MenuItem items[] = {
        {"File", "Open", QKeySequence("Ctrl+O"), "Open files"},
        {"File", "Open Folder", QKeySequence("Ctrl+F"), "Recursively open all files under a folder"},
        {"File", "Close", QKeySequence("F2"), "Close selected files"},
        {"File", "Close All", QKeySequence("F3"), "Close all files"},
        {"File", "Copy Tag(s)", QKeySequence(), "Copy a tag version to the other version for selected files"},
        {"File", "V1->V2", QKeySequence("Ctrl+1"), "Copy tag V1 data to V2"},
        {"File", "V2->V1", QKeySequence("Ctrl+2"), "Copy tag V2 data to V1"},
        {"File", "Save Tag(s)", QKeySequence("Ctrl+S"), "Save tag of selected files"},
        {"File", "Remove Tag(s)", QKeySequence("Ctrl+D"), "Remove tag of selected files"},
        {"File", "Rename", QKeySequence("Ctrl+R"), "Rename selected files using current tag information"},
        {"File", "Get Album Freedb", QKeySequence("Ctrl+G"), "Get album information from freedb, files must be in correct order"},
        {"File", "Exit", QKeySequence(), "Exit Corvane"},
        {"Edit", "Move Up", QKeySequence("Ctrl+Up"), "Move selection up 1 row"},
        {"Edit", "Move Down", QKeySequence("Ctrl+Down"), "Move selection down 1 row"},
        {"Edit", "Refresh All", QKeySequence("F5"), "Reload all files"},
        {"Edit", "Select All", QKeySequence("Ctrl+A"), "Select all files"},
        {"Edit", "Options", QKeySequence(), "Show options"},
        {"Fields", "Clear All", QKeySequence("Ctrl+B"), "Clear fields information"},
        {"Fields", "Copy All", QKeySequence("Ctrl+N"), "Copy fields information"},
        {"Fields", "Paste All", QKeySequence("Ctrl+M"), "Paste fields information"},
        {"Fields", "Lock All", QKeySequence("Ctrl+L"), "Select all fields to modify for multiselect save"},
        {"Fields", "Unlock All", QKeySequence("Ctrl+U"), "Select no field to modify for multiselect save"},
        {"Fields", "Swap", QKeySequence("Ctrl+W"), "Copy and paste fields information from the other tag version"},
        {"Fields", "Capitalize", QKeySequence("Ctrl+P"), "Capitalize title, artist and album fields"},
        {"Fields", "Auto Number", QKeySequence("Ctrl+T"),
         "Automatically save track numbers for selected files, starting with 1 for the top file"},
        {"Playlist", "Open Files From Playlist", QKeySequence("Ctrl+I"), "Open files from playlist"},
        {"Playlist", "Save Selection To Playlist", QKeySequence("Ctrl+E"), "Save selected files to playlist"},
        {"Tools", "Encode WAV To MP3", QKeySequence("F6"), "Encode WAV files to MP3 format"},
        {"Tools", "Decode MP3 To WAV", QKeySequence("F7"), "Decode MP3 files to WAV format"},
        {"Tools", "Export File List", QKeySequence("F8"), "Export tag and file information for all files"},
        {"Help", "Help", QKeySequence("F1"), "Display help"},
        {"Help", "About...", QKeySequence(), "About Corvane"},
    };
    TFormMain form;
    QStringList menuCaptions;
    // Shown as they stand; the letter after "&" is underlined and opens the menu with Alt.
    for (QAction* menu : form.menuBar()->actions())
        menuCaptions.append(menu->text());
    EXPECT_EQ(menuCaptions, QStringList({"&File", "&Edit", "F&ields", "&Playlist", "&Tools", "&Help"}));
    for (const MenuItem& item : items) {
        SCOPED_TRACE(item.caption);
        QMenu* menu = nullptr;
        for (QAction* top : form.menuBar()->actions()) {
            if (top->iconText() == item.menu)
                menu = top->menu();
        }
        ASSERT_NE(menu, nullptr);
        QAction* action = findItem(menu, item.caption);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), item.shortcut);
        EXPECT_EQ(action->statusTip(), item.hint);
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_EQ(form.miSave->text(), "&Save Tag(s)");
    EXPECT_EQ(form.miCopyTags->title(), "Copy &Tag(s)");
    EXPECT_EQ(form.miExportFileList->shortcut(), QKeySequence("F8"));
}

TEST_F(MainWindowTest, PopupMenusHoldTheirItemsInOrder)
{
    TFormMain form;
    QStringList captions;
    for (QAction* action : form.Popup->actions())
        captions.append(action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, QStringList({"&Refresh", "-", "&Close", "Copy &Tag(s)", "Re&move Tag(s)", "Re&name", "-",
                                     "&Play", "P&ause", "&Stop"}));
    EXPECT_EQ(form.miPopupClose->statusTip(), "Close selected files");
    EXPECT_EQ(form.miPopupV2V1->text(), "V&2->V1");
    captions.clear();
    for (QAction* action : form.PopupMenuTree->actions())
        captions.append(action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, QStringList({"&Refresh explorer", "&Switch to ..."}));
}

TEST_F(MainWindowTest, ToolButtonsStandInGroupsWithTheirHints)
{
    TFormMain form;
    // "|" marks a separator between groups.
    const QStringList expected = {
        "Open files", "Open folder", "Close selected files", "Save tag of selected files",
        "Remove tag of selected files", "Rename selected files using tag information",
        "Get info from freedb for opened album", "|", "Move selection up 1 row", "Move selection down 1 row", "|",
        "Reload all files and file explorer", "Select all files", "|", "Fill tag fields using other version",
        "Capitalize title, artist and album fields", "Auto track number", "|", "Open files from playlist",
        "Save selected files to playlist", "|", "Play selected song", "Pause playing song", "Stop playing song", "|",
        "Display help"};
    QStringList hints;
    for (QAction* action : form.ToolBar1->actions()) {
        if (action->isSeparator())
            hints.append("|");
        else
            hints.append(form.ToolBar1->widgetForAction(action)->toolTip());
    }
    EXPECT_EQ(hints, expected);
    EXPECT_EQ(form.ToolBtnAutoNb->statusTip(),
              "Automatically save track numbers for selected files, starting with 1 for the top file");
    EXPECT_EQ(form.ToolBtnAutoNb->text(), "Auto number");
    EXPECT_EQ(form.ToolBtnCapitalize->text(), "Capitalize Fields");
    EXPECT_EQ(form.ToolBtnOpen->statusTip(), "Open files");
    EXPECT_EQ(form.ToolBtnOpen, form.ToolBar1->widgetForAction(form.ToolBar1->actions().first()));
}

// How far the most visible pixel of a picture stands out from the face it is drawn on, in grey levels.
int contrastOn(const QImage& picture, const QColor& face)
{
    int most = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            most = std::max(most, qRound(pixel.alphaF() * std::abs(qGray(pixel.rgb()) - qGray(face.rgb()))));
        }
    }
    return most;
}

TEST_F(MainWindowTest, PicturesDrawnHereAndTheAboutLinkReadInADarkSchemeAndAreSharpAtAnyPixelRatio)
{
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::Link, QColor(90, 170, 255));
    QApplication::setPalette(dark);
    TFormMain form;
    for (QToolButton* button : {form.ToolBtnClose, form.ToolBtnRename, form.ToolBtnSwap, form.ToolBtnCapitalize,
                                form.ToolBtnAutoNb, form.ToolBtnPlay, form.ToolBtnPause, form.ToolBtnStop}) {
        const QImage normal = button->icon().pixmap(QSize(24, 24), 2.0).toImage();
        const QImage disabled = button->icon().pixmap(QSize(24, 24), 2.0, QIcon::Disabled).toImage();
        EXPECT_EQ(normal.size(), QSize(48, 48)) << button->toolTip().toStdString();
        EXPECT_GT(contrastOn(normal, dark.button().color()), 128) << button->toolTip().toStdString();
        EXPECT_LT(contrastOn(disabled, dark.button().color()), contrastOn(normal, dark.button().color()));
    }
    TFormAbout about;
    about.show();
    const QImage link = about.lbUrl->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(link.constBits());
    EXPECT_NE(std::find(pixels, pixels + link.width() * link.height(), dark.link().color().rgb()),
              pixels + link.width() * link.height());
    QApplication::setPalette(light);
}

TEST_F(MainWindowTest, WithoutAPlayerModuleThePlayerButtonsAreDisabled)
{
    TFormMain form;
    EXPECT_EQ(form.Player, nullptr);
    EXPECT_FALSE(form.ToolBtnPlay->isEnabled());
    EXPECT_FALSE(form.ToolBtnPause->isEnabled());
    EXPECT_FALSE(form.ToolBtnStop->isEnabled());
    EXPECT_TRUE(form.ToolBtnOpen->isEnabled());
}

TEST_F(MainWindowTest, TheLongPartOfAHintGoesToStatusPanelThree)
{
    TFormMain form;
    form.DisplayHint("Auto track number|Automatically save track numbers for selected files, starting with 1 for the top file");
    EXPECT_EQ(form.sbMainPanels[3]->toolTip(),
              "Automatically save track numbers for selected files, starting with 1 for the top file");
    form.DisplayHint("Open files");
    EXPECT_EQ(form.sbMainPanels[3]->text(), "Open files");
}

TEST_F(MainWindowTest, StatusTipsOfControlsAndMenuItemsReachStatusPanelThree)
{
    TFormMain form;
    form.show();
    QStatusTipEvent tip(form.ToolBtnAutoNb->statusTip());
    QApplication::sendEvent(form.ToolBtnAutoNb, &tip);
    EXPECT_EQ(form.sbMainPanels[3]->toolTip(), form.ToolBtnAutoNb->statusTip());
    EXPECT_EQ(form.sbMain->currentMessage(), QString());
    form.miSave->showStatusText(&form);
    EXPECT_EQ(form.sbMainPanels[3]->text(), "Save tag of selected files");
}

TEST_F(MainWindowTest, EveryHintCanBeReadWholeInStatusPanelThreeOrAsItsToolTip)
{
    TFormMain form;
    form.show();
    QStringList hints;
    for (const QAction* action : form.findChildren<QAction*>())
        hints += action->statusTip();
    for (const QWidget* widget : form.findChildren<QWidget*>())
        hints += widget->statusTip();
    hints.removeAll(QString());
    hints.removeDuplicates();
    ASSERT_GT(hints.size(), 40);
    const QLabel* panel = form.sbMainPanels[3];
    for (const QString& hint : std::as_const(hints)) {
        form.DisplayHint(hint);
        const bool fits = panel->text() == hint && panel->toolTip().isEmpty();
        const bool elided = panel->text().endsWith(QChar(0x2026)) && panel->toolTip() == hint;
        EXPECT_TRUE((fits || elided) && panel->sizeHint().width() <= panel->width()) << hint.toStdString();
        form.DisplayHint(QString());
        EXPECT_EQ(panel->toolTip(), QString());
    }
}

TEST_F(MainWindowTest, HintsOfThePopupMenusReachStatusPanelThree)
{
    TFormMain form;
    form.show();
    form.Popup->popup(form.mapToGlobal(QPoint(200, 150)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Popup));
    QTest::keyClick(form.Popup, Qt::Key_Down);
    QTest::keyClick(form.Popup, Qt::Key_Down);
    EXPECT_EQ(form.sbMainPanels[3]->text(), "Close selected files");
    QTest::keyClick(form.Popup, Qt::Key_Down);
    QTest::keyClick(form.Popup, Qt::Key_Right);
    EXPECT_EQ(form.sbMainPanels[3]->text(), "Copy tag V1 data to V2");
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndWritesTheSettings)
{
    TFormMain form;
    form.show();
    Registry().writeString("Recurse Folder Explorer", "0");
    form.chkSubfolders->setChecked(true);
    form.miExitClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Registry().readString("Recurse Folder Explorer"), "1");
}

TEST_F(MainWindowTest, TheHelpFileIsThatOfTheProgramFolder)
{
    TFormMain form;
    EXPECT_EQ(form.HelpFile, home.programPath() + "Corvane Help.chm");
}

TEST_F(MainWindowTest, HelpWithoutAHelpFileShowsNothing)
{
    TFormMain form;
    QTest::mouseClick(form.ToolBtnHelp, Qt::LeftButton);
    EXPECT_TRUE(HelpWindow.isNull());
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MainWindowTest, HelpShowsTheOverviewOfTheProgramsHelpFileUntilTheWindowIsDestroyed)
{
    makeHelpFile(home.programDir(), "Corvane Help.chm",
                 {{"Overview.htm", "<html><body><h1>Corvane overview</h1></body></html>"}});
    {
        TFormMain form;
        form.miHelp->trigger();
        ASSERT_FALSE(HelpWindow.isNull());
        EXPECT_TRUE(HelpWindow->isVisible());
        EXPECT_TRUE(qobject_cast<QTextBrowser*>(HelpWindow.data())->toPlainText().contains("Corvane overview"));
    }
    EXPECT_TRUE(HelpWindow.isNull() || !HelpWindow->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(HelpWindow.isNull());
}

TEST_F(MainWindowTest, TheBuiltHelpFileOpensOnItsOverviewWhoseLinksAllLeadToTopics)
{
    setProgramFolder(CORVANE_PROGRAM_DIR);
    TFormMain form;
    form.miHelp->trigger();
    ASSERT_FALSE(HelpWindow.isNull());
    const auto* viewer = qobject_cast<HelpViewer*>(HelpWindow.data());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->source(), HelpViewer::topicUrl("/Overview.htm"));
    EXPECT_EQ(viewer->documentTitle(), "Corvane");

    const ChmArchive archive(form.HelpFile);
    const QString overview = QString::fromUtf8(archive.object("/Overview.htm"));
    int links = 0;
    for (const QRegularExpressionMatch& link : QRegularExpression("href=\"([^\"]+)\"").globalMatch(overview)) {
        EXPECT_TRUE(archive.contains("/" + link.captured(1))) << link.captured(1).toStdString();
        ++links;
    }
    EXPECT_GT(links, 0);
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersionAndOpensItsAddress)
{
    TFormAbout about;
    EXPECT_EQ(about.windowTitle(), "About Corvane");
    EXPECT_EQ(about.BitBtn1->text(), "OK");
    about.show();
    EXPECT_EQ(about.lblVersion->text(), "Corvane v2.3");
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    QTest::mouseClick(about.lbUrl, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0], QUrl(about.lbUrl->text()));
    QTest::mouseClick(about.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(MainWindowTest, TheWindowsAndTheAboutBoxShowTheProgramsPicture)
{
    const QImage picture = programIcon().pixmap(64, 64).toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(picture.pixelColor(32, 48).alpha(), 255);
    TFormMain form;
    EXPECT_EQ(form.windowIcon().pixmap(64, 64).toImage(), picture);
    TFormAbout about(&form);
    EXPECT_EQ(about.windowIcon().pixmap(64, 64).toImage(), picture);
    EXPECT_EQ(about.Image1->pixmap().toImage(), picture);
}

TEST_F(MainWindowTest, EscapeClosesTheAboutBoxWithOk)
{
    TFormAbout about;
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(ApplicationTest, AnExceptionReachingTheEventLoopIsShownWithItsText)
{
    ScriptedUserInterface messages;
    const bool delivered = deliverShowingErrors([]() -> bool { throw std::runtime_error("Player error 7"); });
    EXPECT_FALSE(delivered);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, "Player error 7");
    EXPECT_EQ(messages.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(messages.messages[0].title, "Corvane");
    EXPECT_TRUE(deliverShowingErrors([] { return true; }));
    EXPECT_EQ(messages.messages.size(), 1);
}

}  // namespace
