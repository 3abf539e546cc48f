#pragma once

// The main window: folder tree, file grid, the two tag pages, tag lights, MPEG information,
// menus, tool bar and status bar, the open files and the settings.
//
// Sources by concern:
//   UnitMain.cpp            start-up, show, close, destroy, exit, resize, hints, command line
//   UnitMain_Layout.cpp     panels, folder tree, grid, tag pages, lights, information, status bar
//   UnitMain_Menus.cpp      menu items, popup menus and tool buttons with their hints
//   UnitMain_Settings.cpp   reading the settings at start-up, writing them at close
//   UnitMain_FileList.cpp   opening, closing, selecting all and reloading files
//   UnitMain_TagPages.cpp   tag pages, lights, MPEG information, command state
//   UnitMain_Grid.cpp       cell texts, rows, sorting, colours, moving rows, popup, drag and drop
//   UnitMain_Selection.cpp  showing the selected file, guessing tags from its name
//   UnitMain_Rename.cpp     renaming files by format
//   UnitMain_FolderTree.cpp folder tree, open folder, tree layout
//   UnitMain_Options.cpp    the options dialog's round trip
//   UnitMain_Freedb.cpp     album lookup
//   UnitMain_Playlist.cpp   playlists;  UnitMain_Export.cpp  export of the file list
//   UnitMain_Player.cpp     play, pause and stop
//   UnitMain_Encoder.cpp    encode and decode
//   UnitMain_ToolBar.cpp    tool-button forwarders, help and about box
//   UnitMain_Save.cpp       saving tags, field locks, digits-only ID3v1 fields
//   UnitMain_Remove.cpp     removing tags
//   UnitMain_FieldEditing.cpp  clear, copy, paste, swap and capitalise the page fields
//   UnitMain_CopyTags.cpp   copying between tag versions
//   UnitMain_AutoNumber.cpp numbering tracks
//   UnitMain_TagBatch.cpp   the loop of the tag commands over the selected files (TagBatch.h)

#include "FileGridModel.h"
#include "GridText.h"
#include "MainSettings.h"
#include "UnitID3Tag.h"
#include "UserInterface.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class FolderTree;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeView;
class TElPlayer;
class TElPlayerMan;

// The help window opened by the Help command; closed when the main window is destroyed.
extern QPointer<QWidget> HelpWindow;

class TFormMain : public QMainWindow, public TMainSettings {
    Q_OBJECT
public:
    // CommandLine: the paths given to the program, without the program itself.
    explicit TFormMain(const QStringList& CommandLine = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

    static constexpr int DesignedWidth = 771;
    static constexpr int DesignedHeight = 564;
    static constexpr int DesignedPanelTopLeftWidth = 175;
    static inline const QString VersionText = QStringLiteral("Corvane v2.3");   // status panel 1

    // ================================================================ components

    QWidget* PanelTopToolbar;
    QToolBar* ToolBar1;
    QWidget* PanelMain;
    QLabel* panelFilePath;
    QWidget* PanelRightForFullTree;
    QWidget* panelright;
    QWidget* PanelTop;
    QWidget* PanelTopLeft;
    FolderTree* VETreeMain;
    QCheckBox* chkSubfolders;
    QSplitter* Splitter1;
    QWidget* PanelTopRight;
    QTreeView* vtgrid;
    FileGridModel* vtgridModel;
    QWidget* PanelBottom;
    QStatusBar* sbMain;
    std::array<QLabel*, 4> sbMainPanels;   // widths 100, 130, 175, 275

    // Tag pages
    QTabWidget* PageControlTag;
    QWidget* TabSheetV1;
    QWidget* TabSheetV2;
    QLineEdit* EditTitleV1;
    QLineEdit* EditArtistV1;
    QLineEdit* EditAlbumV1;
    QLineEdit* EditYearV1;
    QLineEdit* EditTrackV1;
    QLineEdit* EditCommentV1;
    QComboBox* cbGenreV1;
    QLineEdit* EditTitleV2;
    QLineEdit* EditArtistV2;
    QLineEdit* EditAlbumV2;
    QLineEdit* EditYearV2;
    QLineEdit* EditTrackV2;
    QPlainTextEdit* MemoCommentV2;
    QComboBox* cbGenreV2;
    QLineEdit* EditEncoderV2;
    QLineEdit* EditUrlV2;
    QLineEdit* EditComposerV2;
    QLineEdit* EditOrigArtistV2;
    // Field locks: checkable buttons, down = locked.
    QToolButton* sbtnTitleV1;
    QToolButton* sbtnArtistV1;
    QToolButton* sbtnAlbumV1;
    QToolButton* sbtnYearV1;
    QToolButton* sbtnTrackV1;
    QToolButton* sbtnCommentV1;
    QToolButton* sbtnGenreV1;
    QToolButton* sbtnTitleV2;
    QToolButton* sbtnArtistV2;
    QToolButton* sbtnAlbumV2;
    QToolButton* sbtnYearV2;
    QToolButton* sbtnTrackV2;
    QToolButton* sbtnCommentV2;
    QToolButton* sbtnGenreV2;
    QToolButton* sbtnEncoderV2;
    QToolButton* sbtnUrlV2;
    QToolButton* sbtnComposerV2;
    QToolButton* sbtnOrigArtistV2;

    // Tag-version lights: the green light covers the red one when the version is present.
    QGroupBox* GroupBox1;
    QLabel* lbTagV10;
    QLabel* lbTagV11;
    QLabel* lbTagV22;
    QLabel* lbTagV23;
    QLabel* lbTagV24;
    QLabel* ImgLightGreenV10;
    QLabel* ImgLightGreenV11;
    QLabel* imgLightGreenV22;
    QLabel* ImgLightGreenV23;
    QLabel* ImgLightGreenV24;

    // MPEG information
    QGroupBox* GroupBox2;
    QLabel* lbFileSize;
    QLabel* lbFileVersion;
    QLabel* lbFileLayer;
    QLabel* lbFileMode;
    QLabel* lbFileFrequency;
    QLabel* lbLength;
    QLabel* lbFileBitrate;
    QLabel* lbVbr;
    QLabel* lbFileCRC;
    QLabel* lbFileCopyright;

    // Main menu
    QMenu* menuFile;
    QAction* miOpen;
    QAction* miOpenFolder;
    QAction* miClose;
    QAction* miCloseAll;
    QMenu* miCopyTags;
    QAction* miV1V2;
    QAction* miV2V1;
    QAction* miSave;
    QAction* miRemoveTag;
    QAction* miRename;
    QAction* miFreedb;
    QAction* miExit;
    QMenu* menuEdit;
    QAction* miMoveUp;
    QAction* miMoveDown;
    QAction* miRefreshAll;
    QAction* miSelectAll;
    QAction* miOptions;
    QMenu* menuFields;
    QAction* miClearAllTags;
    QAction* miCopyAllTags;
    QAction* miPasteAllTags;
    QAction* miLockAll;
    QAction* miUnlockAll;
    QAction* miSwap;
    QAction* miCapitalizeFields;
    QAction* miAutoNumber;
    QMenu* menuPlaylist;
    QAction* miOpenPlaylist;
    QAction* miSavePlaylist;
    QMenu* menuTools;
    QAction* miEncode;
    QAction* miDecode;
    QAction* miExportFileList;
    QMenu* Help1;
    QAction* miHelp;
    QAction* miAbout;

    // Grid popup
    QMenu* Popup;
    QAction* miPopupRefresh;
    QAction* miPopupClose;
    QMenu* miPopupCopyTags;
    QAction* miPopupV1V2;
    QAction* miPopupV2V1;
    QAction* miPopupRemoveTag;
    QMenu* miPopupRename;   // its items are built when the popup opens
    QAction* miPopupPlay;
    QAction* miPopupPause;
    QAction* miPopupStop;

    // Folder-tree popup
    QMenu* PopupMenuTree;
    QAction* miTreeRefreshTree;
    QAction* miTreeSwitchType;

    // Tool bar, left to right
    QToolButton* ToolBtnOpen;
    QToolButton* ToolBtnOpenFolder;
    QToolButton* ToolBtnClose;
    QToolButton* ToolBtnSave;
    QToolButton* ToolBtnRemove;
    QToolButton* ToolBtnRename;
    QToolButton* ToolBtnFreedb;
    QToolButton* ToolBtnMoveUp;
    QToolButton* ToolBtnMoveDown;
    QToolButton* ToolBtnRefreshAll;
    QToolButton* ToolBtnSelectAll;
    QToolButton* ToolBtnSwap;
    QToolButton* ToolBtnCapitalize;
    QToolButton* ToolBtnAutoNb;
    QToolButton* ToolBtnPlaylistOpen;
    QToolButton* ToolBtnPlaylistSave;
    QToolButton* ToolBtnPlay;
    QToolButton* ToolBtnPause;
    QToolButton* ToolBtnStop;
    QToolButton* ToolBtnHelp;

    // File dialogs, shown through the UI seam
    ui::FileDialogRequest OpenDialogOpenMpeg;
    ui::FileDialogRequest SaveDialogPlaylist;
    ui::FileDialogRequest OpenDialogPlaylist;

    // ================================================================ fields

    bool FirstFolderChangePending = false;
    bool FolderChangeBusy = false;
    QStringList FieldClipboard;
    std::vector<std::unique_ptr<TMpegFile>> FileList;   // entry i = grid row i
    TElPlayer* Player = nullptr;                         // none when the player module could not start
    TElPlayerMan* ElPlayerMan1 = nullptr;                // owns Player; made at start
    QString HelpFile;
    // The settings are the fields of TMainSettings.

    // ================================================================ operations

    // ---- lifecycle (UnitMain.cpp)
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void miExitClick();
    void FormResize();
    void DisplayHint(const QString& hint);
    void OpenCommandLine();

    // ---- settings (UnitMain_Settings.cpp)
    void ReadSettings();
    void WriteCloseSettings();
    void ApplyColsWidth();   // throws std::invalid_argument on a piece that is no number

    // ---- file list and opening files (UnitMain_FileList.cpp)
    void OpenFiles(const QStringList& Paths, bool ShowProgress);
    void miOpenClick();
    void miCloseClick();
    void miCloseAllClick();
    void miSelectAllClick();
    void ReloadFile(int Index);
    void ReloadFiles(int First, int Last);
    void miRefreshAllClick();
    // Whether the row still holds the file of that path. Loops over the list that let events
    // through ask before each file: a folder chosen in the tree meanwhile replaces the list.
    bool holdsFile(int row, const QString& path) const;

    // ---- tag pages, information panel and command state (UnitMain_TagPages.cpp)
    void PageControlTagChange();
    void ClearFileInfo();
    int GenreIndexOf(const QString& Name) const;
    void SetTagLights(bool V10, bool V11, bool V22, bool V23, bool V24);
    void ShowTagLights(const TMpegFile& File);
    void ShowMpegInfo(const QString& Path);
    void UpdateCommands();
    void menuFileClick();
    void menuEditClick();
    void menuFieldsClick();

    // ---- saving tags and field locks
    void miSaveClick();
    void SaveTags();
    void miLockAllClick();
    void miUnlockAllClick();
    void EditTrackV1Change();
    void EditYearV1Change();

    // ---- removing tags
    void miRemoveTagClick();
    void RemoveTags();

    // ---- field editing commands
    void miClearAllTagsClick();
    void miCopyAllTagsClick();
    void miPasteAllTagsClick();
    void miSwapClick();
    void miCapitalizeFieldsClick();
    void EditTitleV1DblClick(QLineEdit* Sender);
    void MemoCommentV2DblClick();

    // ---- copying between tag versions, auto numbering
    void miV1V2Click();
    void miV2V1Click();
    void miAutoNumberClick();

    // ---- file grid (UnitMain_Grid.cpp)
    QString vtgridGetText(int Node, int Column);
    QVariant vtgridBeforeItemErase(int Node) const;   // the row's background; nothing for the normal one
    void RebuildGrid();
    void SortFiles(int Column);
    void vtgridHeaderClick(int Column, Qt::MouseButton Button);
    void miMoveUpClick();
    void miMoveDownClick();
    void vtgridMouseUp(Qt::MouseButton Button);
    bool vtgridKeyDown(const QKeyEvent& Key);   // true: the key is taken
    void miPopupRefreshClick();
    // DataObject: the files dropped from another program; none for rows dragged inside the grid.
    void vtgridDragDrop(const QMimeData* DataObject, int TargetRow);

    // The grid's selection in grid order, its focused row (-1: none), and selecting one row alone.
    QList<int> gridSelectedRows() const;
    int gridFocusedRow() const;
    void selectGridRow(int row);
    QModelIndex gridRowCell(int row) const;
    TagPage activePage() const;

    // ---- selection and tag guessing (UnitMain_Selection.cpp)
    void vtgridChange(int Node);   // Node -1: no particular row
    void GuessTagFromFileName();

    // ---- renaming files by format
    void RenameFiles(const QString& Format);
    void miRenameClick();
    void PopupPopup();
    void CustomPopupMenuClick(QAction* Sender);

    // ---- folder tree and open folder
    void OpenFolder(const QString& Folder, bool Recursive);
    void miOpenFolderClick();
    void VETreeMainChange();
    void SetExplorerFull(bool Full);
    void miTreeSwitchTypeClick();
    void PopupMenuTreePopup();
    void miTreeRefreshTreeClick();

    // ---- options
    void miOptionsClick();

    // ---- album lookup
    void miFreedbClick();

    // ---- playlists and export
    QString MakePlaylistName(const QString& Format);
    bool SavePlaylist(const QString& FileName);
    void LoadPlaylist(const QString& FileName);
    void miSavePlaylistClick();
    void miOpenPlaylistClick();
    void menuPlaylistClick();
    void miExportFileListClick();

    // ---- player
    bool StartPlayer();   // false: no player module, the player buttons are disabled
    void UnloadPlayer();
    void ToolBtnPlayClick();
    void ToolBtnPauseClick();
    void ToolBtnStopClick();
    void miPopupPlayClick();
    void miPopupPauseClick();
    void miPopupStopClick();

    // ---- encoder
    void miEncodeClick();
    void miDecodeClick();

    // ---- tool bar, help and about box (UnitMain_ToolBar.cpp)
    void ToolBtnOpenClick();
    void ToolBtnOpenFolderClick();
    void ToolBtnCloseClick();
    void ToolBtnSaveClick();
    void ToolBtnRemoveClick();
    void ToolBtnRenameClick();
    void ToolBtnFreedbClick();
    void ToolBtnMoveUpClick();
    void ToolBtnMoveDownClick();
    void ToolBtnRefreshAllClick();
    void ToolBtnSelectAllClick();
    void ToolBtnSwapClick();
    void ToolBtnCapitalizeClick();
    void ToolBtnAutoNbClick();
    void ToolBtnPlaylistOpenClick();
    void ToolBtnPlaylistSaveClick();
    void ToolBtnHelpClick();
    void miHelpClick();
    void miAboutClick();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Building the window (UnitMain_Layout.cpp, UnitMain_Menus.cpp)
    void createLayout();
    QWidget* createTagPageV1();
    QWidget* createTagPageV2();
    QGroupBox* createTagLights();
    QGroupBox* createMpegInformation();
    void createStatusBar();
    void growSmallestSize();
    void keepWithinScreen();
    void createMenus();
    void createPopupMenus();
    void createToolBar();
    void connectGrid();
    void connectFieldEditing();
    void showOpenFileCount();
    void reselectFiles(const QList<const TMpegFile*>& files, const TMpegFile* focused);
    // Opens chosen files in name order, with the progress window from 26 files on (UnitMain_FileList.cpp).
    void openInNameOrder(QStringList paths);

    // The fields of the tag page V2, each with its lock, its text and the tag's text it gives (UnitMain_Save.cpp).
    struct Id3v2PageField {
        QToolButton* lock;
        QString text;
        QString TID3v2::*tagText;
    };
    std::vector<Id3v2PageField> id3v2PageFields() const;
    // The page's texts as shown for a file, before anyone changed them: a save of that one file
    // writes only the fields changed since, so a field's stored form (several values, a genre's
    // numbers, line ends the page cannot hold) survives a save that does not touch it.
    void rememberShownId3v2Page(const QString& fileName);

    // Emptying the tag pages (UnitMain_TagPages.cpp).
    void clearId3v1Page();
    void clearId3v2Page();
    // The ID3v2 page's fields that an ID3v1 block has too, the genre aside.
    void clearId3v2FieldsOfId3v1();

    // The grid column widths as given; the header answers 0 for a hidden column.
    int gridColumnWidth(int column) const;
    void setGridColumnWidth(int column, int width);
    int fittedColumnWidth(int column, int width) const;
    void setFolderPanelWidth(int width);
    // The folder panel's width as last given by the settings or the user's splitter.
    int folderPanelWidth = DesignedPanelTopLeftWidth;

    QStringList commandLine;
    bool keepingPagesWhileReselecting = false;
    QString shownId3v2File;
    QStringList shownId3v2Texts;
    // Every column's width as last given, which a hidden column keeps for when it is shown again.
    std::array<int, GridColumnCount> givenColumnWidths{};
};

// The main window while it exists.
extern TFormMain* FormMain;
