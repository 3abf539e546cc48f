#pragma once

// The options dialog: the settings the user changes, loaded into its controls before each
// showing and stored back and written when it is closed with OK.

#include "MainSettings.h"

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

// The history after the text became the current format: kept when a slot already holds the text
// (letter case ignored), else the text takes the first empty slot, else it goes in front and the
// last slot is dropped.
QStringList updatedFormatHistory(const QStringList& history, const QString& text);

// The words of "Dictionary Words", split at ";" alone: a leading ";" gives an empty first word,
// one trailing ";" adds none.
QStringList splitDictionaryWords(const QString& words);

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
    // values. Only the dialog's own fields are read or stored. SetExplorerFull is called during
    // the store when the layout box changed. The user rename formats are stored and written as
    // soon as their own dialog is closed with OK.
    OptionsOutcome Execute(TMainSettings& settings, SettingsWriter& writer,
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

    bool load(const TMainSettings& settings);
    bool storeAndWrite(TMainSettings& settings, SettingsWriter& writer,
                       const std::function<void(bool)>& SetExplorerFull);
    int caseItemIndex() const;
    void setCaseItemIndex(int index);
    QList<QRadioButton*> formatButtons() const;   // in the order of their names' comparison
    void browseFolder(QLineEdit* edit, const QString& message);
    void pickColor(QLineEdit* swatch);

    // Set while Execute runs, for the renaming-formats round trip.
    TMainSettings* executing = nullptr;
    SettingsWriter* executingWriter = nullptr;
};

// The dialog while it exists; created once at start.
extern TFormOptions* FormOptions;
