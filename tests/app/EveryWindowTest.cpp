#include "QStringPrinter.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "TestAudio.h"
#include "UnitAbout.h"
#include "UnitBrowseFolder.h"
#include "UnitChooseAlbum.h"
#include "UnitDecode.h"
#include "UnitEncode.h"
#include "UnitExport.h"
#include "UnitGetAlbumFreedb.h"
#include "UnitMain.h"
#include "UnitOptions.h"
#include "UnitProgressForm.h"
#include "UnitRenamingFormats.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Every window of the program, made with the desktop's font at 11 pt (at 14 pt for the sizes). Run
// on xcb too, where keys and focus take the window system's way.
template <int Points>
class WindowsAtFontSize : public ::testing::Test {
protected:
    struct LargerFont {
        LargerFont()
        {
            QFont font = QApplication::font();
            font.setPointSize(Points);
            QApplication::setFont(font);
        }
    } font;
    SettingsHome home;
    ScriptedUserInterface messages;
    QString exportFields;
    const EncoderFolderSource folders = [] { return EncoderFolders{"/", "/"}; };
    TFormMain main;
    TFormOptions options;
    TFormRenamingFormats formats;
    TFormEncode encode{folders};
    TFormDecode decode{folders};
    TFormExport exportList{exportFields, {}};
    TFormFreedb lookup{TFreedbHost{}};
    TFormChooseAlbum chooser{nullptr};
    TFormBrowseFolder browse;
    TFormProgress progress;
    TFormAbout about;
    const QList<QWidget*> windows = {&main,   &options, &formats,  &encode,   &decode, &exportList,
                                     &lookup, &chooser, &browse, &progress, &about};
};
using EveryWindowTest = WindowsAtFontSize<11>;
using EveryWindowAt14PtTest = WindowsAtFontSize<14>;

// What a screen reader calls a control. A combo box's own name is its value on this desktop: the
// label it is labelled by names it.
QString spokenName(QWidget* control)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (!qobject_cast<QComboBox*>(control))
        return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

TEST_F(EveryWindowTest, EveryControlHasANameInWords)
{
    for (QWidget* window : windows) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool ofItsOwn = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                                  qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractItemView*>(control) ||
                                  qobject_cast<QPlainTextEdit*>(control);
            // Parts of other controls, and the window system's own buttons, are named by Qt.
            const QWidget* owner = control->parentWidget();
            if (!ofItsOwn || control->window() != window || control->objectName().startsWith("qt_") ||
                qobject_cast<const QAbstractItemView*>(owner) || qobject_cast<const QComboBox*>(owner))
                continue;
            EXPECT_TRUE(spokenName(control).contains(QRegularExpression("\\p{L}")))
                << window->windowTitle().toStdString() << ": " << control->metaObject()->className();
        }
    }
}

TEST_F(EveryWindowTest, TheTagLightsAndTheBitrateListsTellAScreenReaderWhatTheyShow)
{
    main.SetTagLights(false, true, false, false, true);
    EXPECT_EQ(spokenName(main.lbTagV11), "ID3v1.1: present");
    EXPECT_EQ(spokenName(main.lbTagV23), "ID3v2.3: absent");
    EXPECT_EQ(spokenName(main.lbTagV24), "ID3v2.4: present");
    // Lit and unlit differ in shape too: the box's first picture is the unlit light under V1.0.
    const auto shape = [](const QLabel* light) {
        return light->pixmap().toImage().convertToFormat(QImage::Format_Alpha8);
    };
    EXPECT_NE(shape(main.GroupBox1->findChildren<QLabel*>().first()), shape(main.ImgLightGreenV10));
    EXPECT_EQ(spokenName(encode.cbBitrate), "Constant bitrate");
    EXPECT_EQ(spokenName(encode.cbVbrMinBitrate), "Minimum variable bitrate");
}

TEST_F(EveryWindowTest, TheFixedSizeDialogsShowEveryTextWholeAndSeveralRowsOfTheirLists)
{
    progress.SetupProgress(0, 0, 1, 1, true);
    for (QListWidget* list : {formats.ListBoxFormats, chooser.ListBoxAlbums})
        list->addItems({"#ARTIST#", "#TRACK#", "#ALBUM#", "#TITLE#", "#BITRATE#"});
    for (QWidget* dialog : std::initializer_list<QWidget*>{&progress, &formats, &chooser, &browse, &options}) {
        dialog->show();
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect caption = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int text = button->fontMetrics().horizontalAdvance(button->text());
            EXPECT_TRUE(!button->isVisible() || caption.width() >= text) << button->text().toStdString();
        }
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            EXPECT_TRUE(!label->isVisible() || !label->wordWrap() ||
                        label->height() >= label->heightForWidth(label->width()))
                << label->text().toStdString();
        for (const QListWidget* list : dialog->findChildren<QListWidget*>())
            EXPECT_TRUE(list->count() == 0 || list->viewport()->height() >= 3 * list->sizeHintForRow(0));
    }
}

TEST_F(EveryWindowAt14PtTest, FixedShortTextsShowWholeAndRowsTakeTheFontsHeight)
{
    // Whether a cell of a view shows a text whole: its ink ends within the margins the style leaves.
    const auto wholeIn = [](const QAbstractItemView* view, int cellWidth, const QString& text) {
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        return view->fontMetrics().boundingRect(text).right() < cellWidth - 2 * margin;
    };
    for (const int column : {1, 2}) {
        EXPECT_TRUE(wholeIn(main.vtgrid, main.vtgrid->columnWidth(column), column == 1 ? "1.1" : "2.4"));
        EXPECT_GE(main.vtgrid->columnWidth(column), main.vtgrid->header()->sectionSizeHint(column));
    }
    main.show();
    EXPECT_GE(main.sbMainPanels[1]->width(), main.sbMainPanels[1]->sizeHint().width());

    EXPECT_TRUE(wholeIn(lookup.sgTracks, lookup.sgTracks->columnWidth(1), "99"));
    // A line of text, and the grid line under it.
    EXPECT_GT(lookup.sgTracks->rowHeight(0), lookup.sgTracks->fontMetrics().height());
    EXPECT_EQ(lookup.Image1->size().expandedTo(lookup.Image1->sizeHint()), lookup.Image1->size());

    chooser.ListBoxAlbums->addItems(QStringList(3, "rock 7a0b5c0a Another Artist / Another Album"));
    chooser.show();
    EXPECT_GE(chooser.ListBoxAlbums->viewport()->height(), 3 * chooser.ListBoxAlbums->sizeHintForRow(0));
    EXPECT_EQ(chooser.ListBoxAlbums->horizontalScrollBar()->maximum(), 0);

    progress.SetupProgress(0, 0, 1, 1, true);
    EXPECT_EQ(progress.btnCancel->size().expandedTo(progress.btnCancel->sizeHint()), progress.btnCancel->size());
}

// The window shown and active, with the focus on the given control or where the window puts it.
void activate(QWidget* window, QWidget* control = nullptr)
{
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    if (control)
        control->setFocus(Qt::TabFocusReason);
}

// The controls in the order Tab reaches them, from the one that has the focus or the given one.
QList<QWidget*> tabChain(QWidget* window, QWidget* first = nullptr)
{
    activate(window, first);
    QList<QWidget*> chain{QApplication::focusWidget()};
    while (chain.first() && chain.size() < 100) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == chain.first())
            break;
        chain.append(QApplication::focusWidget());
    }
    return chain;
}

// Whether a step of Tab goes down or right: in the innermost box that holds both controls, the part
// that holds the second stands lower, or level with the other and further right.
bool goesDownOrRight(const QWidget* from, const QWidget* to)
{
    while (!from->parentWidget()->isAncestorOf(to))
        from = from->parentWidget();
    while (to->parentWidget() != from->parentWidget())
        to = to->parentWidget();
    const QRect a = from->geometry(), b = to->geometry();
    return a.top() < b.bottom() && b.top() < a.bottom() ? b.left() > a.left() : b.top() > a.top();
}

TEST_F(EveryWindowTest, TabFollowsTheLayoutOfTheDialogsTopToBottomAndLeftToRight)
{
    QList<QWidget*> chains[10] = {tabChain(&encode), tabChain(&decode)};
    for (int page = 0; page < options.PageControlOptions->count(); ++page) {
        options.PageControlOptions->setCurrentIndex(page);
        options.PageControlOptions->tabBar()->setFocus();
        chains[page + 2] = tabChain(&options);
    }
    for (const QList<QWidget*>& chain : chains) {
        for (qsizetype step = 1; step < chain.size(); ++step)
            EXPECT_TRUE(goesDownOrRight(chain[step - 1], chain[step]))
                << chain[step]->window()->windowTitle().toStdString() << " " << step;
    }
}

TEST_F(EveryWindowTest, OnTheTagPagesTabReachesEachLockThenItsFieldTopToBottomAndLeavesTheComment)
{
    const QList<QWidget*> pages[] = {
        {main.sbtnTitleV1, main.EditTitleV1, main.sbtnArtistV1, main.EditArtistV1, main.sbtnAlbumV1, main.EditAlbumV1,
         main.sbtnYearV1, main.EditYearV1, main.sbtnTrackV1, main.EditTrackV1, main.sbtnCommentV1, main.EditCommentV1,
         main.sbtnGenreV1, main.cbGenreV1},
        {main.sbtnTitleV2, main.EditTitleV2, main.sbtnArtistV2, main.EditArtistV2, main.sbtnAlbumV2, main.EditAlbumV2,
         main.sbtnYearV2, main.EditYearV2, main.sbtnTrackV2, main.EditTrackV2, main.sbtnGenreV2, main.cbGenreV2,
         main.sbtnCommentV2, main.MemoCommentV2, main.sbtnEncoderV2, main.EditEncoderV2, main.sbtnUrlV2,
         main.EditUrlV2, main.sbtnComposerV2, main.EditComposerV2, main.sbtnOrigArtistV2, main.EditOrigArtistV2}};
    main.MemoCommentV2->setPlainText("A comment");
    for (const QList<QWidget*>& order : pages) {
        main.PageControlTag->setCurrentWidget(order.first()->parentWidget());
        EXPECT_EQ(tabChain(&main, order.first()).mid(0, order.size()), order);
    }
    EXPECT_EQ(main.MemoCommentV2->toPlainText(), "A comment");
}

TEST_F(EveryWindowTest, EnterPressesTheFocusedButtonAndInAFieldTheButtonOfWhatWasTyped)
{
    const struct {
        QWidget* control;
        QAbstractButton* pressed;
        bool closes;
    } rows[] = {{encode.btnEncode, encode.btnEncode, false},     {encode.btnClose, encode.btnClose, true},
                {decode.btnDecode, decode.btnDecode, false},     {decode.btnClose, decode.btnClose, true},
                {exportList.btnClose, exportList.btnClose, true}, {options.btnEditformats, options.btnEditformats, false},
                {options.editWord, options.btnAddWord, false},   {formats.btnDelete, formats.btnDelete, false},
                {formats.EditFormat, formats.btnAddFormat, false}};
    for (const auto& row : rows) {
        activate(row.control->window());
        for (QWidget* page = row.control; page->parentWidget(); page = page->parentWidget()) {
            if (auto* pages = qobject_cast<QStackedWidget*>(page->parentWidget()))
                pages->setCurrentWidget(page);
        }
        row.control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(row.control->hasFocus());
        if (auto* field = qobject_cast<QLineEdit*>(row.control))
            QTest::keyClicks(field, "#TITLE#");
        QSignalSpy pressed(row.pressed, &QAbstractButton::clicked);
        QTest::keyClick(row.control, Qt::Key_Return);
        EXPECT_EQ(pressed.count(), 1) << row.pressed->text().toStdString();
        EXPECT_NE(row.control->window()->isVisible(), row.closes) << row.pressed->text().toStdString();
    }
    EXPECT_EQ(messages.fileRequests.size(), 2);
    for (const QListWidget* list : {options.listBoxWords, formats.ListBoxFormats})
        EXPECT_EQ(list->count() == 1 ? list->item(0)->text() : QString(), "#TITLE#");
}

TEST_F(EveryWindowTest, TabPassesTheToolButtonsByAndTheGridTakesTheMenuKeyShiftF10AndAFirstDown)
{
    TempDir dir;
    main.OptionLoadFilesStartup = false;
    main.OpenFiles({writeAudio(dir, "a.mp3"), writeAudio(dir, "b.mp3"), writeAudio(dir, "c.mp3")}, false);
    for (const QWidget* control : tabChain(&main))
        EXPECT_NE(control->parentWidget(), main.ToolBar1) << control->toolTip().toStdString();
    main.vtgrid->setFocus(Qt::TabFocusReason);
    QTest::keyClick(main.vtgrid, Qt::Key_Down);
    EXPECT_EQ(main.gridSelectedRows(), QList<int>{0});
    QTest::keyClick(main.vtgrid, Qt::Key_Down);
    // A row the program selects is where the keys go on from.
    main.selectGridRow(2);
    QTest::keyClick(main.vtgrid, Qt::Key_Up);
    EXPECT_EQ(main.gridSelectedRows(), QList<int>{1});
    const QRect row = main.vtgrid->visualRect(main.vtgridModel->index(1, 3));
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Menu), Qt::ShiftModifier | Qt::Key_F10}) {
        QTest::keyClick(main.vtgrid, key.key(), key.keyboardModifiers());
        EXPECT_TRUE(main.Popup->isVisible());
        EXPECT_EQ(main.Popup->y(), main.vtgrid->viewport()->mapToGlobal(row.bottomLeft()).y());
        main.Popup->hide();
    }
}

}  // namespace
