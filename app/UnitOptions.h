#pragma once

// The options dialog: the settings the user changes, loaded into its controls before each
// showing and stored back and written when it is closed with OK.

#include <QDialog>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class SettingsWriter;

// The settings the dialog shows, named as the main window's fields so one copy serves both ways.
struct OptionsSettings {
    bool OptionRememberSize = false;
    bool OptionRememberPosition = false;
    bool OptionRememberColsWidth = false;
    bool OptionSortAfterOpen = false;
    bool OptionSelectNextRow = false;
    bool OptionFocusGrid = false;
    bool OptionLeadingZero = false;
    bool OptionAddTotalTracks = false;
    bool OptionConvertV22 = false;
    bool OptionExplorerFull = false;
    bool OptionKeepTimestamp = false;
    bool OptionLoadFilesStartup = false;
    bool OptionGuessTag = false;
    QString OptionInvalidChar;
    QString GuessFormat;
    QString GuessFormat1;
    QString GuessFormat2;
    QString GuessFormat3;
    QString GuessFormat4;
    QString GuessFormat5;
    bool OptionGeneratePlaylist = false;
    QString OptionInvalidCharPlaylist;
    QString PlaylistFormat;
    QString PlaylistFormat1;
    QString PlaylistFormat2;
    QString PlaylistFormat3;
    QString PlaylistFormat4;
    QString PlaylistFormat5;
    QString RenameCase;
    QString RenameFormat;
    QString RenameFormatUser;
    QStringList RenameFormats;
    QString RenameFormat1;
    QString RenameFormat2;
    QString RenameFormat3;
    QString RenameFormat4;
    QString RenameFormat5;
    QString RenameFormat6;
    QString RenameFormat7;
    QString RenameFormat8;
    QString RenameFormat9;
    QString RenameFormat10;
    bool RenameReplaceSpace = false;
    QString DefaultFolderOpen;
    QString DefaultFolderPlaylist;
    QString DefaultFolderEnc;
    QString DefaultFolderDec;
    QString FreedbServer;
    QString FreedbPort;
    QString DictionaryWords;
    bool UseGridColors = false;
    qint32 ColorNoTag = 0;
    qint32 ColorV1 = 0;
    qint32 ColorV2 = 0;
    qint32 ColorV1V2 = 0;
};

// Copies the dialog's settings between two objects with these field names (the main window
// and OptionsSettings), in either direction.
template <typename To, typename From>
void copyOptionsSettings(To& to, const From& from)
{
    to.OptionRememberSize = from.OptionRememberSize;
    to.OptionRememberPosition = from.OptionRememberPosition;
    to.OptionRememberColsWidth = from.OptionRememberColsWidth;
    to.OptionSortAfterOpen = from.OptionSortAfterOpen;
    to.OptionSelectNextRow = from.OptionSelectNextRow;
    to.OptionFocusGrid = from.OptionFocusGrid;
    to.OptionLeadingZero = from.OptionLeadingZero;
    to.OptionAddTotalTracks = from.OptionAddTotalTracks;
    to.OptionConvertV22 = from.OptionConvertV22;
    to.OptionExplorerFull = from.OptionExplorerFull;
    to.OptionKeepTimestamp = from.OptionKeepTimestamp;
    to.OptionLoadFilesStartup = from.OptionLoadFilesStartup;
    to.OptionGuessTag = from.OptionGuessTag;
    to.OptionInvalidChar = from.OptionInvalidChar;
    to.GuessFormat = from.GuessFormat;
    to.GuessFormat1 = from.GuessFormat1;
    to.GuessFormat2 = from.GuessFormat2;
    to.GuessFormat3 = from.GuessFormat3;
    to.GuessFormat4 = from.GuessFormat4;
    to.GuessFormat5 = from.GuessFormat5;
    to.OptionGeneratePlaylist = from.OptionGeneratePlaylist;
    to.OptionInvalidCharPlaylist = from.OptionInvalidCharPlaylist;
    to.PlaylistFormat = from.PlaylistFormat;
    to.PlaylistFormat1 = from.PlaylistFormat1;
    to.PlaylistFormat2 = from.PlaylistFormat2;
    to.PlaylistFormat3 = from.PlaylistFormat3;
    to.PlaylistFormat4 = from.PlaylistFormat4;
    to.PlaylistFormat5 = from.PlaylistFormat5;
    to.RenameCase = from.RenameCase;
    to.RenameFormat = from.RenameFormat;
    to.RenameFormatUser = from.RenameFormatUser;
    to.RenameFormats = from.RenameFormats;
    to.RenameFormat1 = from.RenameFormat1;
    to.RenameFormat2 = from.RenameFormat2;
    to.RenameFormat3 = from.RenameFormat3;
    to.RenameFormat4 = from.RenameFormat4;
    to.RenameFormat5 = from.RenameFormat5;
    to.RenameFormat6 = from.RenameFormat6;
    to.RenameFormat7 = from.RenameFormat7;
    to.RenameFormat8 = from.RenameFormat8;
    to.RenameFormat9 = from.RenameFormat9;
    to.RenameFormat10 = from.RenameFormat10;
    to.RenameReplaceSpace = from.RenameReplaceSpace;
    to.DefaultFolderOpen = from.DefaultFolderOpen;
    to.DefaultFolderPlaylist = from.DefaultFolderPlaylist;
    to.DefaultFolderEnc = from.DefaultFolderEnc;
    to.DefaultFolderDec = from.DefaultFolderDec;
    to.FreedbServer = from.FreedbServer;
    to.FreedbPort = from.FreedbPort;
    to.DictionaryWords = from.DictionaryWords;
    to.UseGridColors = from.UseGridColors;
    to.ColorNoTag = from.ColorNoTag;
    to.ColorV1 = from.ColorV1;
    to.ColorV2 = from.ColorV2;
    to.ColorV1V2 = from.ColorV1V2;
}

// The history after the text became the current format: kept when a slot already holds the text
// (letter case ignored), else the text takes the first empty slot, else it goes in front and the
// last slot is dropped.
QStringList updatedFormatHistory(const QStringList& history, const QString& text);

// The words of "Dictionary Words", split at ";" alone: a leading ";" gives an empty first word,
// one trailing ";" adds none.
QStringList splitDictionaryWords(const QString& words);

// The public CDDB service, the default of "Freedb Server".
inline const QString DefaultFreedbServer = QStringLiteral("gnudb.gnudb.org");

enum class OptionsOutcome {
    Cancelled,   // nothing stored
    Stored,      // stored, and written when the settings key opened
    Failed,      // the load or a write failed and was reported
};

class TFormOptions : public QDialog {
    Q_OBJECT
public:
    explicit TFormOptions(QWidget* parent = nullptr);
    ~TFormOptions() override;

    // The whole round trip: load, show modally, and on OK store into the settings and write the
    // values. SetExplorerFull is called during the store when the layout box changed. The user
    // rename formats are stored and written as soon as their own dialog is closed with OK.
    OptionsOutcome Execute(OptionsSettings& settings, SettingsWriter& writer,
                           const std::function<void(bool)>& SetExplorerFull);

    // ---- components
    QTabWidget* PageControlOptions;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // General
    QWidget* TabSheetGeneral;
    QCheckBox* cbRememberPos;
    QCheckBox* cbSortAfterOpen;
    QCheckBox* cbRememberSize;
    QCheckBox* cbSelectNextRow;
    QCheckBox* cbFocusGrid;
    QCheckBox* cbRememberColsWidth;
    QCheckBox* cbLeadingZero;
    QCheckBox* cbAddTotalTracks;
    QCheckBox* cbConvertV22;
    QCheckBox* cbExplorerFullLeft;
    QCheckBox* cbLoadFilesAtStartup;
    QCheckBox* cbKeepTimestamp;

    // Rename
    QWidget* TabSheetRename;
    QGroupBox* rgCase;
    QButtonGroup* rgCaseItems;   // ids 0 to 4 in item order
    QGroupBox* GroupBox2;
    QRadioButton* rdArtistTitle;
    QRadioButton* rdArtistAlbumTitle;
    QRadioButton* rdArtistTrackTitle;
    QRadioButton* rdTrackArtistTitle;
    QRadioButton* rdOther;
    QRadioButton* rdArtistAlbumTrackTitle;
    QRadioButton* rdArtistTitleBitrate;
    QComboBox* cbOtherFormat;
    QPushButton* btnEditformats;
    QCheckBox* checkReplaceSpace;

    // File Names
    QWidget* TabSheetFilename;
    QLabel* lbFilenameFormat;
    QComboBox* cmbGuessFormat;
    QToolButton* SpeedButton1;
    QToolButton* btnTitle;
    QToolButton* btnAlbum;
    QToolButton* btnTrack;
    QPushButton* btnDelete;
    QCheckBox* cbGuessTag;
    QPushButton* btnDefault;
    QLabel* Label3;
    QLineEdit* EditCharRepInvalid;

    // Playlists
    QWidget* TabSheetPlaylists;
    QLabel* Label7;
    QComboBox* cmbPlaylistFormat;
    QToolButton* btnArtistPlaylist;
    QToolButton* btnAlbumPlaylist;
    QToolButton* btnYearPlaylist;
    QToolButton* btnGenrePlaylist;
    QPushButton* btnDeletePlaylist;
    QCheckBox* cbGeneratePlaylistName;
    QPushButton* btnDefaultPlaylist;
    QLabel* Label10;
    QLineEdit* EditCharRepInvalidP;

    // Folders
    QWidget* TabSheetDir;
    QLabel* lbDirOpen;
    QLineEdit* EditDirOpen;
    QToolButton* sbtnBrowseOpen;
    QLabel* lbDirPlaylist;
    QLineEdit* EditDirPlaylist;
    QToolButton* sbtnBrowsePlaylist;
    QLabel* lbDirEnc;
    QLineEdit* EditDirEncode;
    QToolButton* sbtnBrowseEnc;
    QLabel* lbDirDec;
    QLineEdit* EditDirDecode;
    QToolButton* sbtnBrowseDec;

    // Freedb
    QWidget* TabSheetFreedb;
    QLabel* Label1;
    QLineEdit* EditServer;
    QLabel* Label2;
    QLineEdit* EditPort;
    QPushButton* btnDefaultFreedb;

    // Colors
    QWidget* TabSheetColors;
    QCheckBox* cbUseGridColors;
    QGroupBox* GroupBox1;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label6;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QLineEdit* DBEdit1;
    QLineEdit* DBEdit2;
    QLineEdit* DBEdit3;
    QLineEdit* DBEdit4;
    QPushButton* btnColor1;
    QPushButton* btnColor2;
    QPushButton* btnColor3;
    QPushButton* btnColor4;
    quint32 ColorDlg = 0xFF000000;   // the colour last chosen, as 0xAARRGGBB

    // Dictionary
    QWidget* TabSheetDictionary;
    QLabel* Label4;
    QLabel* Label5;
    QListWidget* listBoxWords;
    QLineEdit* editWord;
    QPushButton* btnAddWord;
    QPushButton* btnDeleteWord;

    // ---- handlers
    void FormShow();
    void cbOtherFormatChange();
    void cbOtherFormatCloseUp();
    void btnArtistClick();
    void btnTitleClick();
    void btnAlbumClick();
    void btnTrackClick();
    void btnArtistPlaylistClick();
    void btnAlbumPlaylistClick();
    void btnYearPlaylistClick();
    void btnGenrePlaylistClick();
    void btndeleteClick();
    void btnDeletePlaylistClick();
    void btnDefaultClick();
    void btnDefaultPlaylistClick();
    void btnDefaultFreedbClick();
    void sbtnBrowseOpenClick();
    void sbtnBrowsePlaylistClick();
    void sbtnBrowseEncClick();
    void sbtnBrowseDecClick();
    void btnColor1Click();
    void btnColor2Click();
    void btnColor3Click();
    void btnColor4Click();
    void btnAddWordClick();
    void btnDeleteWordClick();
    void btnEditformatsClick();

    // The swatches' colours, as the settings hold them.
    qint32 swatchColor(const QLineEdit* swatch) const;
    void setSwatchColor(QLineEdit* swatch, qint32 color);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* createGeneralPage();
    QWidget* createRenamePage();
    QWidget* createFileNamesPage();
    QWidget* createPlaylistsPage();
    QWidget* createFoldersPage();
    QWidget* createFreedbPage();
    QWidget* createColorsPage();
    QWidget* createDictionaryPage();
    void connectHandlers();

    bool load(const OptionsSettings& settings);
    bool storeAndWrite(OptionsSettings& settings, SettingsWriter& writer,
                       const std::function<void(bool)>& SetExplorerFull);
    int caseItemIndex() const;
    void setCaseItemIndex(int index);
    QList<QRadioButton*> formatButtons() const;   // in the order of their names' comparison
    void browseFolder(QLineEdit* edit, const QString& message);
    void pickColor(QLineEdit* swatch);

    // Set while Execute runs, for the renaming-formats round trip.
    OptionsSettings* executing = nullptr;
    SettingsWriter* executingWriter = nullptr;
};

// The dialog while it exists; created once at start.
extern TFormOptions* FormOptions;
