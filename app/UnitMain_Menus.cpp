// The main menu, the two popup menus and the tool bar, each item with its caption, shortcut and hint.

#include "UnitMain.h"

#include "FolderTree.h"
#include "GlyphIcon.h"
#include "Hints.h"
#include "MenuShortcuts.h"

#include <QApplication>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

void setHint(QAction* action, const QString& hint)
{
    action->setToolTip(GetShortHint(hint));
    action->setStatusTip(GetLongHint(hint));
}

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

// The desktop's icon theme, where it has the picture; else the style's own.
QIcon themeIcon(const QString& name, QStyle::StandardPixmap pixmap)
{
    return QIcon::fromTheme(name, standardIcon(pixmap));
}

// The desktop's icon theme, where it has the picture; else one drawn in the colour scheme's colours,
// where the style's own would be black on a dark tool bar.
QIcon themeIcon(const QString& name, const GlyphDrawing& glyph)
{
    return QIcon::fromTheme(name, glyphIcon(glyph));
}

// A popup menu is a window of its own, where the hints of its items would stop; they go on to the
// main window, as those of the menu bar do.
class HintsToWindow : public QObject {
public:
    explicit HintsToWindow(QWidget* window) : QObject(window), window(window) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::StatusTip)
            return false;
        QCoreApplication::sendEvent(window, event);
        return true;
    }

private:
    QWidget* window;
};

}  // namespace

void TFormMain::createMenus()
{
    using Handler = void (TFormMain::*)();
    const auto item = [this](QMenu* menu, const QString& caption, const QKeySequence& shortcut, const QString& hint,
                             Handler handler) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(shortcut);
        setHint(action, hint);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto submenu = [](QMenu* menu, const QString& caption, const QString& hint) {
        QMenu* child = menu->addMenu(caption);
        setHint(child->menuAction(), hint);
        return child;
    };
    const QKeySequence none;

    // The menu bar's titles open with Alt and their underlined letter, the items of an open menu
    // with theirs.
    menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    miOpen = item(menuFile, QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Open files"),
                  &TFormMain::miOpenClick);
    miOpenFolder = item(menuFile, QStringLiteral("Open &Folder"), QKeySequence(Qt::CTRL | Qt::Key_F),
                        QStringLiteral("Recursively open all files under a folder"), &TFormMain::miOpenFolderClick);
    menuFile->addSeparator();
    miClose = item(menuFile, QStringLiteral("&Close"), QKeySequence(Qt::Key_F2), QStringLiteral("Close selected files"),
                   &TFormMain::miCloseClick);
    miCloseAll = item(menuFile, QStringLiteral("Close &All"), QKeySequence(Qt::Key_F3), QStringLiteral("Close all files"),
                      &TFormMain::miCloseAllClick);
    menuFile->addSeparator();
    miCopyTags = submenu(menuFile, QStringLiteral("Copy &Tag(s)"),
                         QStringLiteral("Copy a tag version to the other version for selected files"));
    miV1V2 = item(miCopyTags, QStringLiteral("V&1->V2"), QKeySequence(Qt::CTRL | Qt::Key_1),
                  QStringLiteral("Copy tag V1 data to V2"), &TFormMain::miV1V2Click);
    miV2V1 = item(miCopyTags, QStringLiteral("V&2->V1"), QKeySequence(Qt::CTRL | Qt::Key_2),
                  QStringLiteral("Copy tag V2 data to V1"), &TFormMain::miV2V1Click);
    miSave = item(menuFile, QStringLiteral("&Save Tag(s)"), QKeySequence(Qt::CTRL | Qt::Key_S),
                  QStringLiteral("Save tag of selected files"), &TFormMain::miSaveClick);
    miRemoveTag = item(menuFile, QStringLiteral("Re&move Tag(s)"), QKeySequence(Qt::CTRL | Qt::Key_D),
                       QStringLiteral("Remove tag of selected files"), &TFormMain::miRemoveTagClick);
    menuFile->addSeparator();
    miRename = item(menuFile, QStringLiteral("Re&name"), QKeySequence(Qt::CTRL | Qt::Key_R),
                    QStringLiteral("Rename selected files using current tag information"), &TFormMain::miRenameClick);
    menuFile->addSeparator();
    miFreedb = item(menuFile, QStringLiteral("&Get Album Freedb"), QKeySequence(Qt::CTRL | Qt::Key_G),
                    QStringLiteral("Get album information from freedb, files must be in correct order"),
                    &TFormMain::miFreedbClick);
    menuFile->addSeparator();
    miExit = item(menuFile, QStringLiteral("E&xit"), none, QStringLiteral("Exit Corvane"), &TFormMain::miExitClick);

    menuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    miMoveUp = item(menuEdit, QStringLiteral("Move &Up"), QKeySequence(Qt::CTRL | Qt::Key_Up),
                    QStringLiteral("Move selection up 1 row"), &TFormMain::miMoveUpClick);
    miMoveDown = item(menuEdit, QStringLiteral("Move &Down"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                      QStringLiteral("Move selection down 1 row"), &TFormMain::miMoveDownClick);
    menuEdit->addSeparator();
    miRefreshAll = item(menuEdit, QStringLiteral("&Refresh All"), QKeySequence(Qt::Key_F5),
                        QStringLiteral("Reload all files"), &TFormMain::miRefreshAllClick);
    miSelectAll = item(menuEdit, QStringLiteral("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A),
                       QStringLiteral("Select all files"), &TFormMain::miSelectAllClick);
    menuEdit->addSeparator();
    miOptions = item(menuEdit, QStringLiteral("&Options"), none, QStringLiteral("Show options"), &TFormMain::miOptionsClick);

    menuFields = menuBar()->addMenu(QStringLiteral("F&ields"));
    miClearAllTags = item(menuFields, QStringLiteral("&Clear All"), QKeySequence(Qt::CTRL | Qt::Key_B),
                          QStringLiteral("Clear fields information"), &TFormMain::miClearAllTagsClick);
    miCopyAllTags = item(menuFields, QStringLiteral("C&opy All"), QKeySequence(Qt::CTRL | Qt::Key_N),
                         QStringLiteral("Copy fields information"), &TFormMain::miCopyAllTagsClick);
    miPasteAllTags = item(menuFields, QStringLiteral("&Paste All"), QKeySequence(Qt::CTRL | Qt::Key_M),
                          QStringLiteral("Paste fields information"), &TFormMain::miPasteAllTagsClick);
    menuFields->addSeparator();
    miLockAll = item(menuFields, QStringLiteral("&Lock All"), QKeySequence(Qt::CTRL | Qt::Key_L),
                     QStringLiteral("Select all fields to modify for multiselect save"), &TFormMain::miLockAllClick);
    miUnlockAll = item(menuFields, QStringLiteral("&Unlock All"), QKeySequence(Qt::CTRL | Qt::Key_U),
                       QStringLiteral("Select no field to modify for multiselect save"), &TFormMain::miUnlockAllClick);
    menuFields->addSeparator();
    miSwap = item(menuFields, QStringLiteral("&Swap"), QKeySequence(Qt::CTRL | Qt::Key_W),
                  QStringLiteral("Copy and paste fields information from the other tag version"), &TFormMain::miSwapClick);
    miCapitalizeFields = item(menuFields, QStringLiteral("C&apitalize"), QKeySequence(Qt::CTRL | Qt::Key_P),
                              QStringLiteral("Capitalize title, artist and album fields"),
                              &TFormMain::miCapitalizeFieldsClick);
    miAutoNumber = item(menuFields, QStringLiteral("Auto &Number"), QKeySequence(Qt::CTRL | Qt::Key_T),
                        QStringLiteral("Automatically save track numbers for selected files, starting with 1 for the top file"),
                        &TFormMain::miAutoNumberClick);

    menuPlaylist = menuBar()->addMenu(QStringLiteral("&Playlist"));
    miOpenPlaylist = item(menuPlaylist, QStringLiteral("&Open Files From Playlist"), QKeySequence(Qt::CTRL | Qt::Key_I),
                          QStringLiteral("Open files from playlist"), &TFormMain::miOpenPlaylistClick);
    miSavePlaylist = item(menuPlaylist, QStringLiteral("&Save Selection To Playlist"), QKeySequence(Qt::CTRL | Qt::Key_E),
                          QStringLiteral("Save selected files to playlist"), &TFormMain::miSavePlaylistClick);

    menuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    miEncode = item(menuTools, QStringLiteral("&Encode WAV To MP3"), QKeySequence(Qt::Key_F6),
                    QStringLiteral("Encode WAV files to MP3 format"), &TFormMain::miEncodeClick);
    miDecode = item(menuTools, QStringLiteral("&Decode MP3 To WAV"), QKeySequence(Qt::Key_F7),
                    QStringLiteral("Decode MP3 files to WAV format"), &TFormMain::miDecodeClick);
    miExportFileList = item(menuTools, QStringLiteral("E&xport File List"), QKeySequence(Qt::Key_F8),
                            QStringLiteral("Export tag and file information for all files"),
                            &TFormMain::miExportFileListClick);

    Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
    miHelp = item(Help1, QStringLiteral("&Help"), QKeySequence(Qt::Key_F1), QStringLiteral("Display help"),
                  &TFormMain::miHelpClick);
    miAbout = item(Help1, QStringLiteral("&About..."), none, QStringLiteral("About Corvane"), &TFormMain::miAboutClick);

    connect(menuFile, &QMenu::aboutToShow, this, &TFormMain::menuFileClick);
    connect(menuEdit, &QMenu::aboutToShow, this, &TFormMain::menuEditClick);
    connect(menuFields, &QMenu::aboutToShow, this, &TFormMain::menuFieldsClick);
    connect(menuPlaylist, &QMenu::aboutToShow, this, &TFormMain::menuPlaylistClick);
    new MenuShortcutsFirst(this);
}

void TFormMain::createPopupMenus()
{
    using Handler = void (TFormMain::*)();
    const auto item = [this](QMenu* menu, const QString& caption, const QString& hint, Handler handler) {
        QAction* action = menu->addAction(caption);
        setHint(action, hint);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    Popup = new QMenu(this);
    miPopupRefresh = item(Popup, QStringLiteral("&Refresh"), QString(), &TFormMain::miPopupRefreshClick);
    Popup->addSeparator();
    miPopupClose = item(Popup, QStringLiteral("&Close"), QStringLiteral("Close selected files"), &TFormMain::miCloseClick);
    miPopupCopyTags = Popup->addMenu(QStringLiteral("Copy &Tag(s)"));
    setHint(miPopupCopyTags->menuAction(), QStringLiteral("Copy a tag version to the other version for selected files"));
    miPopupV1V2 = item(miPopupCopyTags, QStringLiteral("V&1->V2"), QStringLiteral("Copy tag V1 data to V2"),
                       &TFormMain::miV1V2Click);
    miPopupV2V1 = item(miPopupCopyTags, QStringLiteral("V&2->V1"), QStringLiteral("Copy tag V2 data to V1"),
                       &TFormMain::miV2V1Click);
    miPopupRemoveTag = item(Popup, QStringLiteral("Re&move Tag(s)"), QStringLiteral("Remove tag of selected files"),
                            &TFormMain::miRemoveTagClick);
    miPopupRename = Popup->addMenu(QStringLiteral("Re&name"));
    setHint(miPopupRename->menuAction(), QStringLiteral("Rename selected files using current tag information"));
    Popup->addSeparator();
    miPopupPlay = item(Popup, QStringLiteral("&Play"), QString(), &TFormMain::miPopupPlayClick);
    miPopupPause = item(Popup, QStringLiteral("P&ause"), QString(), &TFormMain::miPopupPauseClick);
    miPopupStop = item(Popup, QStringLiteral("&Stop"), QString(), &TFormMain::miPopupStopClick);
    connect(Popup, &QMenu::aboutToShow, this, &TFormMain::PopupPopup);

    PopupMenuTree = new QMenu(this);
    miTreeRefreshTree = item(PopupMenuTree, QStringLiteral("&Refresh explorer"), QString(), &TFormMain::miTreeRefreshTreeClick);
    miTreeSwitchType = item(PopupMenuTree, QStringLiteral("&Switch to ..."), QString(), &TFormMain::miTreeSwitchTypeClick);
    connect(PopupMenuTree, &QMenu::aboutToShow, this, &TFormMain::PopupMenuTreePopup);
    auto* hints = new HintsToWindow(this);
    for (QMenu* menu : {Popup, miPopupCopyTags, miPopupRename, PopupMenuTree})
        menu->installEventFilter(hints);
    VETreeMain->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(VETreeMain, &FolderTree::changed, this, &TFormMain::VETreeMainChange);
    connect(VETreeMain, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& point) { PopupMenuTree->popup(VETreeMain->viewport()->mapToGlobal(point)); });
}

void TFormMain::createToolBar()
{
    using Handler = void (TFormMain::*)();
    const auto button = [this](const QString& caption, const QString& hint, const QIcon& icon, Handler handler) {
        auto* toolButton = new QToolButton(ToolBar1);
        toolButton->setText(caption);
        toolButton->setIcon(icon);
        toolButton->setToolTip(GetShortHint(hint));
        toolButton->setStatusTip(GetLongHint(hint));
        toolButton->setAutoRaise(true);
        // Every command of the tool bar is in the menus too: Tab passes the buttons by.
        toolButton->setFocusPolicy(Qt::NoFocus);
        connect(toolButton, &QToolButton::clicked, this, handler);
        ToolBar1->addWidget(toolButton);
        return toolButton;
    };

    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);

    ToolBtnOpen = button(QStringLiteral("Open"), QStringLiteral("Open files"),
                         themeIcon(QStringLiteral("document-open"), QStyle::SP_DialogOpenButton),
                         &TFormMain::ToolBtnOpenClick);
    ToolBtnOpenFolder = button(QStringLiteral("Open folder"), QStringLiteral("Open folder"),
                               themeIcon(QStringLiteral("folder-open"), QStyle::SP_DirOpenIcon),
                               &TFormMain::ToolBtnOpenFolderClick);
    ToolBtnClose = button(QStringLiteral("Close"), QStringLiteral("Close selected files"),
                          themeIcon(QStringLiteral("window-close"), drawCross), &TFormMain::ToolBtnCloseClick);
    ToolBtnSave = button(QStringLiteral("Save Tag"), QStringLiteral("Save tag of selected files"),
                         themeIcon(QStringLiteral("document-save"), QStyle::SP_DialogSaveButton),
                         &TFormMain::ToolBtnSaveClick);
    ToolBtnRemove = button(QStringLiteral("Remove Tag"), QStringLiteral("Remove tag of selected files"),
                           themeIcon(QStringLiteral("edit-delete"), QStyle::SP_TrashIcon),
                           &TFormMain::ToolBtnRemoveClick);
    ToolBtnRename = button(QStringLiteral("Rename"), QStringLiteral("Rename selected files using tag information"),
                           textGlyphIcon(QStringLiteral("ab")), &TFormMain::ToolBtnRenameClick);
    ToolBtnFreedb = button(QStringLiteral("Freedb"), QStringLiteral("Get info from freedb for opened album"),
                           themeIcon(QStringLiteral("media-optical"), QStyle::SP_DriveCDIcon),
                           &TFormMain::ToolBtnFreedbClick);
    ToolBar1->addSeparator();
    ToolBtnMoveUp = button(QStringLiteral("Move up"), QStringLiteral("Move selection up 1 row"),
                           themeIcon(QStringLiteral("go-up"), QStyle::SP_ArrowUp), &TFormMain::ToolBtnMoveUpClick);
    ToolBtnMoveDown = button(QStringLiteral("Move down"), QStringLiteral("Move selection down 1 row"),
                             themeIcon(QStringLiteral("go-down"), QStyle::SP_ArrowDown),
                             &TFormMain::ToolBtnMoveDownClick);
    ToolBar1->addSeparator();
    ToolBtnRefreshAll = button(QStringLiteral("Refresh All"), QStringLiteral("Reload all files and file explorer"),
                               themeIcon(QStringLiteral("view-refresh"), QStyle::SP_BrowserReload),
                               &TFormMain::ToolBtnRefreshAllClick);
    ToolBtnSelectAll = button(QStringLiteral("Select All"), QStringLiteral("Select all files"),
                              themeIcon(QStringLiteral("edit-select-all"), QStyle::SP_FileDialogListView),
                              &TFormMain::ToolBtnSelectAllClick);
    ToolBar1->addSeparator();
    ToolBtnSwap = button(QStringLiteral("Swap"), QStringLiteral("Fill tag fields using other version"),
                         textGlyphIcon(QStringLiteral("1\u21c42")), &TFormMain::ToolBtnSwapClick);
    ToolBtnCapitalize = button(QStringLiteral("Capitalize Fields"), QStringLiteral("Capitalize title, artist and album fields"),
                               textGlyphIcon(QStringLiteral("Aa")), &TFormMain::ToolBtnCapitalizeClick);
    ToolBtnAutoNb = button(QStringLiteral("Auto number"),
                           QStringLiteral("Auto track number|Automatically save track numbers for selected files, "
                                          "starting with 1 for the top file"),
                           textGlyphIcon(QStringLiteral("1..")), &TFormMain::ToolBtnAutoNbClick);
    ToolBar1->addSeparator();
    ToolBtnPlaylistOpen = button(QStringLiteral("Open Playlist"), QStringLiteral("Open files from playlist"),
                                 standardIcon(QStyle::SP_FileDialogContentsView), &TFormMain::ToolBtnPlaylistOpenClick);
    ToolBtnPlaylistSave = button(QStringLiteral("Save Playlist"), QStringLiteral("Save selected files to playlist"),
                                 standardIcon(QStyle::SP_FileDialogDetailedView), &TFormMain::ToolBtnPlaylistSaveClick);
    ToolBar1->addSeparator();
    ToolBtnPlay = button(QStringLiteral("Play"), QStringLiteral("Play selected song"),
                         themeIcon(QStringLiteral("media-playback-start"), drawPlay), &TFormMain::ToolBtnPlayClick);
    ToolBtnPause = button(QStringLiteral("Pause"), QStringLiteral("Pause playing song"),
                          themeIcon(QStringLiteral("media-playback-pause"), drawPause), &TFormMain::ToolBtnPauseClick);
    ToolBtnStop = button(QStringLiteral("Stop"), QStringLiteral("Stop playing song"),
                         themeIcon(QStringLiteral("media-playback-stop"), drawStop), &TFormMain::ToolBtnStopClick);
    ToolBar1->addSeparator();
    ToolBtnHelp = button(QStringLiteral("Help"), QStringLiteral("Display help"),
                         themeIcon(QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton),
                         &TFormMain::ToolBtnHelpClick);
}
