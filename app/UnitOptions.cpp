#include "UnitOptions.h"

#include "EnterPresses.h"
#include "FixedDialogSize.h"
#include "TypingLimit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

TFormOptions* FormOptions = nullptr;

namespace {

QCheckBox* checkBox(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setToolTip(hint);
    return box;
}

// Token buttons never take the focus, so the combo box keeps its caret and selection.
QToolButton* tokenButton(const QString& caption, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QComboBox* formatComboBox(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Enter takes the item the completer matched; a match of other letter case would replace the
    // typed spelling, which then fits no placeholder.
    combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    combo->setMaxVisibleItems(5);
    return combo;
}

QLineEdit* oneCharacterEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new TypingLimit(edit, 1));
    edit->setMaximumWidth(40);
    return edit;
}

}  // namespace

TFormOptions::TFormOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Options"));

    PageControlOptions = new QTabWidget(this);
    PageControlOptions->addTab(createGeneralPage(), QStringLiteral("General"));
    PageControlOptions->addTab(createRenamePage(), QStringLiteral("Rename"));
    PageControlOptions->addTab(createFileNamesPage(), QStringLiteral("File Names"));
    PageControlOptions->addTab(createPlaylistsPage(), QStringLiteral("Playlists"));
    PageControlOptions->addTab(createFoldersPage(), QStringLiteral("Folders"));
    PageControlOptions->addTab(createFreedbPage(), QStringLiteral("Freedb"));
    PageControlOptions->addTab(createColorsPage(), QStringLiteral("Colors"));
    PageControlOptions->addTab(createDictionaryPage(), QStringLiteral("Dictionary"));
    // Every page's tab in sight at once: the dialog grows to the whole tab row.
    PageControlOptions->setUsesScrollButtons(false);
    PageControlOptions->setElideMode(Qt::ElideNone);

    // OK is the default button; a button that has the focus takes its place for Enter.
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControlOptions, 1);
    layout->addLayout(buttons);
    setFixedSize(fixedDialogSize(layout, QSize(365, 326)));

    connectHandlers();
    FormOptions = this;
}

TFormOptions::~TFormOptions()
{
    if (FormOptions == this)
        FormOptions = nullptr;
}

QWidget* TFormOptions::createGeneralPage()
{
    TabSheetGeneral = new QWidget;
    QWidget* page = TabSheetGeneral;
    cbRememberPos = checkBox(QStringLiteral("Remember application position"), {}, page);
    cbSortAfterOpen = checkBox(QStringLiteral("Sort files by name after opening new ones"), {}, page);
    cbRememberSize = checkBox(QStringLiteral("Remember application size"), {}, page);
    cbSelectNextRow = checkBox(QStringLiteral("Select next file in grid after saving"), {}, page);
    cbFocusGrid = checkBox(QStringLiteral("Focus file grid after saving"), {}, page);
    cbRememberColsWidth = checkBox(QStringLiteral("Remember columns width"), {}, page);
    cbLeadingZero = checkBox(QStringLiteral("Add a leading zero to V2 track numbers"),
        QStringLiteral("A leading zero will be added to tracks numbers when auto-numbering or copying V1 to V2"), page);
    cbAddTotalTracks = checkBox(QStringLiteral("Add total number of tracks for V2 tags, i.e. \"/total\""),
        QStringLiteral("When using the auto-numbering feature, this option will add the total number of tracks in the track field for V2 tags."), page);
    cbConvertV22 = checkBox(QStringLiteral("Convert V2.2 tags to V2.3 when saving V2 tag"),
        QStringLiteral("If a file with a V2.2 tag is saved, the tag will be deleted before saving"), page);
    cbExplorerFullLeft = checkBox(QStringLiteral("File explorer uses the entire left side"),
        QStringLiteral("Maximize the file explorer on the left side"), page);
    cbLoadFilesAtStartup = checkBox(QStringLiteral("Load files from default folder at startup"),
        QStringLiteral("When unchecked, files in the default folder won't load when starting Corvane"), page);
    cbKeepTimestamp = checkBox(QStringLiteral("Do not change file timestamps when modified"),
        QStringLiteral("Prevents changing the date of modification when saving, copying or removing tags"), page);

    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(2);
    for (QCheckBox* box : {cbRememberPos, cbSortAfterOpen, cbRememberSize, cbSelectNextRow, cbFocusGrid,
                           cbRememberColsWidth, cbLeadingZero, cbAddTotalTracks, cbConvertV22,
                           cbExplorerFullLeft, cbLoadFilesAtStartup, cbKeepTimestamp})
        layout->addWidget(box);
    layout->addStretch();
    return page;
}

QWidget* TFormOptions::createRenamePage()
{
    TabSheetRename = new QWidget;
    QWidget* page = TabSheetRename;

    rgCase = new QGroupBox(QStringLiteral("Case"), page);
    rgCaseItems = new QButtonGroup(rgCase);
    auto* caseLayout = new QGridLayout(rgCase);
    const QStringList caseItems = {
        QStringLiteral("Title  (This Is Title Case)"), QStringLiteral("Lower  (this is lower case)"),
        QStringLiteral("Upper  (THIS IS UPPER)"), QStringLiteral("Sentence  (This is sentence)"),
        QStringLiteral("Don't change")};
    // Two columns, filled top to bottom.
    const int rows = (caseItems.size() + 1) / 2;
    for (int i = 0; i < caseItems.size(); ++i) {
        auto* item = new QRadioButton(caseItems[i], rgCase);
        rgCaseItems->addButton(item, i);
        caseLayout->addWidget(item, i % rows, i / rows);
    }

    GroupBox2 = new QGroupBox(QStringLiteral("Default format"), page);
    rdArtistTitle = new QRadioButton(QStringLiteral("Artist - Title"), GroupBox2);
    rdArtistAlbumTitle = new QRadioButton(QStringLiteral("Artist - Album - Title"), GroupBox2);
    rdArtistTrackTitle = new QRadioButton(QStringLiteral("Artist - Track - Title"), GroupBox2);
    rdTrackArtistTitle = new QRadioButton(QStringLiteral("Track - Artist - Title"), GroupBox2);
    rdOther = new QRadioButton(QStringLiteral("Other"), GroupBox2);
    rdArtistAlbumTrackTitle = new QRadioButton(QStringLiteral("Artist - Album - Track - Title"), GroupBox2);
    rdArtistTitleBitrate = new QRadioButton(QStringLiteral("Artist - Title (Bitrate)"), GroupBox2);
    rdTrackArtistTitle->setChecked(true);
    rdArtistTitle->setObjectName(QStringLiteral("rdArtistTitle"));
    rdArtistAlbumTitle->setObjectName(QStringLiteral("rdArtistAlbumTitle"));
    rdArtistTrackTitle->setObjectName(QStringLiteral("rdArtistTrackTitle"));
    rdTrackArtistTitle->setObjectName(QStringLiteral("rdTrackArtistTitle"));
    rdOther->setObjectName(QStringLiteral("rdOther"));
    rdArtistAlbumTrackTitle->setObjectName(QStringLiteral("rdArtistAlbumTrackTitle"));
    rdArtistTitleBitrate->setObjectName(QStringLiteral("rdArtistTitleBitrate"));
    cbOtherFormat = new QComboBox(GroupBox2);
    cbOtherFormat->setMaxVisibleItems(10);
    cbOtherFormat->setToolTip(QStringLiteral("Choose one of the formats defined in the Renaming Formats window"));
    auto* formatLayout = new QGridLayout(GroupBox2);
    formatLayout->setVerticalSpacing(2);
    formatLayout->addWidget(rdArtistTitle, 0, 0);
    formatLayout->addWidget(rdArtistAlbumTitle, 1, 0);
    formatLayout->addWidget(rdArtistTrackTitle, 2, 0);
    formatLayout->addWidget(rdTrackArtistTitle, 3, 0);
    formatLayout->addWidget(rdArtistAlbumTrackTitle, 0, 1);
    formatLayout->addWidget(rdArtistTitleBitrate, 1, 1);
    formatLayout->addWidget(rdOther, 4, 0);
    formatLayout->addWidget(cbOtherFormat, 4, 1);

    checkReplaceSpace = new QCheckBox(QStringLiteral("Replace spaces with underscores"), page);
    btnEditformats = new QPushButton(QStringLiteral("Edit formats"), page);
    btnEditformats->setToolTip(QStringLiteral("Define your own formats to use with the popup menu in the file grid"));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(rgCase);
    layout->addWidget(GroupBox2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(checkReplaceSpace);
    bottom->addStretch();
    bottom->addWidget(btnEditformats);
    layout->addLayout(bottom);
    layout->addStretch();
    return page;
}

QWidget* TFormOptions::createFileNamesPage()
{
    TabSheetFilename = new QWidget;
    QWidget* page = TabSheetFilename;
    lbFilenameFormat = new QLabel(QStringLiteral("Format used to guess tag fields from file names:"), page);
    cmbGuessFormat = formatComboBox(page);
    SpeedButton1 = tokenButton(QStringLiteral("Artist"), page);
    btnTitle = tokenButton(QStringLiteral("Title"), page);
    btnAlbum = tokenButton(QStringLiteral("Album"), page);
    btnTrack = tokenButton(QStringLiteral("Track"), page);
    btnDelete = new QPushButton(QStringLiteral("Delete"), page);
    cbGuessTag = checkBox(QStringLiteral("Guess tag fields"), QStringLiteral("Use the file name to fill tag fields"), page);
    Label3 = new QLabel(QStringLiteral("Replace invalid file name characters with:"), page);
    EditCharRepInvalid = oneCharacterEdit(page);
    // Each label names its control for screen readers.
    lbFilenameFormat->setBuddy(cmbGuessFormat);
    Label3->setBuddy(EditCharRepInvalid);
    // Made in the order of the layout, which Tab follows.
    btnDefault = new QPushButton(QStringLiteral("Defaults"), page);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lbFilenameFormat);
    auto* format = new QHBoxLayout;
    format->addWidget(cmbGuessFormat, 1);
    format->addWidget(btnDelete);
    layout->addLayout(format);
    auto* tokens = new QHBoxLayout;
    for (QToolButton* token : {SpeedButton1, btnTitle, btnAlbum, btnTrack})
        tokens->addWidget(token);
    tokens->addStretch();
    layout->addLayout(tokens);
    layout->addWidget(cbGuessTag);
    auto* replace = new QHBoxLayout;
    replace->addWidget(Label3);
    replace->addWidget(EditCharRepInvalid);
    replace->addStretch();
    layout->addLayout(replace);
    layout->addStretch();
    layout->addWidget(btnDefault, 0, Qt::AlignRight);
    return page;
}

QWidget* TFormOptions::createPlaylistsPage()
{
    TabSheetPlaylists = new QWidget;
    QWidget* page = TabSheetPlaylists;
    Label7 = new QLabel(QStringLiteral("Format used to generate playlist file name:"), page);
    cmbPlaylistFormat = formatComboBox(page);
    btnArtistPlaylist = tokenButton(QStringLiteral("Artist"), page);
    btnAlbumPlaylist = tokenButton(QStringLiteral("Album"), page);
    btnYearPlaylist = tokenButton(QStringLiteral("Year"), page);
    btnGenrePlaylist = tokenButton(QStringLiteral("Genre"), page);
    btnDeletePlaylist = new QPushButton(QStringLiteral("Delete"), page);
    cbGeneratePlaylistName = checkBox(QStringLiteral("Generate file name when creating playlist"),
        QStringLiteral("Automatically generate a name for the playlist when saving a playlist"), page);
    Label10 = new QLabel(QStringLiteral("Replace invalid file name characters with:"), page);
    EditCharRepInvalidP = oneCharacterEdit(page);
    Label7->setBuddy(cmbPlaylistFormat);
    Label10->setBuddy(EditCharRepInvalidP);
    btnDefaultPlaylist = new QPushButton(QStringLiteral("Defaults"), page);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label7);
    auto* format = new QHBoxLayout;
    format->addWidget(cmbPlaylistFormat, 1);
    format->addWidget(btnDeletePlaylist);
    layout->addLayout(format);
    auto* tokens = new QHBoxLayout;
    for (QToolButton* token : {btnArtistPlaylist, btnAlbumPlaylist, btnYearPlaylist, btnGenrePlaylist})
        tokens->addWidget(token);
    tokens->addStretch();
    layout->addLayout(tokens);
    layout->addWidget(cbGeneratePlaylistName);
    auto* replace = new QHBoxLayout;
    replace->addWidget(Label10);
    replace->addWidget(EditCharRepInvalidP);
    replace->addStretch();
    layout->addLayout(replace);
    layout->addStretch();
    layout->addWidget(btnDefaultPlaylist, 0, Qt::AlignRight);
    return page;
}

QWidget* TFormOptions::createFoldersPage()
{
    TabSheetDir = new QWidget;
    QWidget* page = TabSheetDir;
    auto* layout = new QVBoxLayout(page);
    const auto addRow = [&](QLabel*& label, const QString& caption, QLineEdit*& edit, QToolButton*& browse) {
        label = new QLabel(caption, page);
        edit = new QLineEdit(page);
        browse = new QToolButton(page);
        browse->setText(QStringLiteral("..."));
        browse->setAutoRaise(true);
        browse->setToolTip(QStringLiteral("Browse folders"));
        label->setBuddy(edit);
        // "...", four times over, would tell a screen reader's user nothing.
        browse->setAccessibleName(QStringLiteral("Browse for the ") + caption.chopped(1).toLower());
        layout->addWidget(label);
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(browse);
        layout->addLayout(row);
    };
    addRow(lbDirOpen, QStringLiteral("Default open file folder:"), EditDirOpen, sbtnBrowseOpen);
    addRow(lbDirPlaylist, QStringLiteral("Default playlist folder:"), EditDirPlaylist, sbtnBrowsePlaylist);
    addRow(lbDirEnc, QStringLiteral("Default encoding output folder:"), EditDirEncode, sbtnBrowseEnc);
    addRow(lbDirDec, QStringLiteral("Default decoding output folder:"), EditDirDecode, sbtnBrowseDec);
    layout->addStretch();
    return page;
}

QWidget* TFormOptions::createFreedbPage()
{
    TabSheetFreedb = new QWidget;
    QWidget* page = TabSheetFreedb;
    Label1 = new QLabel(QStringLiteral("Server:"), page);
    EditServer = new QLineEdit(page);
    Label2 = new QLabel(QStringLiteral("Port:"), page);
    EditPort = new QLineEdit(page);
    btnDefaultFreedb = new QPushButton(QStringLiteral("Default"), page);
    Label1->setBuddy(EditServer);
    Label2->setBuddy(EditPort);

    auto* layout = new QGridLayout(page);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(EditServer, 0, 1);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(EditPort, 1, 1);
    layout->addWidget(btnDefaultFreedb, 2, 1, Qt::AlignRight);
    layout->setRowStretch(3, 1);
    return page;
}

QWidget* TFormOptions::createColorsPage()
{
    TabSheetColors = new QWidget;
    QWidget* page = TabSheetColors;
    cbUseGridColors = new QCheckBox(QStringLiteral("Use grid colors"), page);
    GroupBox1 = new QGroupBox(QStringLiteral("Grid colors"), page);
    Label8 = new QLabel(QStringLiteral("ID3v1"), GroupBox1);
    Label9 = new QLabel(QStringLiteral("ID3v2"), GroupBox1);
    Label6 = new QLabel(QStringLiteral("Color"), GroupBox1);

    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(Label8, 0, 0);
    grid->addWidget(Label9, 0, 1);
    grid->addWidget(Label6, 0, 2);
    // Each row stands for one combination of tags: the boxes only show which.
    const auto addRow = [&](int row, QCheckBox*& v1, bool hasV1, QCheckBox*& v2, bool hasV2,
                            QLineEdit*& swatch, QPushButton*& pick) {
        v1 = new QCheckBox(GroupBox1);
        v1->setChecked(hasV1);
        v1->setEnabled(false);
        v1->setAccessibleName(Label8->text());
        v2 = new QCheckBox(GroupBox1);
        v2->setChecked(hasV2);
        v2->setEnabled(false);
        v2->setAccessibleName(Label9->text());
        swatch = new QLineEdit(GroupBox1);
        swatch->setReadOnly(true);
        swatch->setEnabled(false);
        swatch->setAccessibleName(Label6->text());
        pick = new QPushButton(QStringLiteral("Pick color"), GroupBox1);
        grid->addWidget(v1, row, 0);
        grid->addWidget(v2, row, 1);
        grid->addWidget(swatch, row, 2);
        grid->addWidget(pick, row, 3);
    };
    addRow(1, CheckBox1, false, CheckBox2, false, DBEdit1, btnColor1);
    addRow(2, CheckBox3, true, CheckBox4, false, DBEdit2, btnColor2);
    addRow(3, CheckBox5, false, CheckBox6, true, DBEdit3, btnColor3);
    addRow(4, CheckBox7, true, CheckBox8, true, DBEdit4, btnColor4);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(cbUseGridColors);
    layout->addWidget(GroupBox1);
    layout->addStretch();
    return page;
}

QWidget* TFormOptions::createDictionaryPage()
{
    TabSheetDictionary = new QWidget;
    QWidget* page = TabSheetDictionary;
    Label4 = new QLabel(QStringLiteral("Words to overwrite when renaming:"), page);
    Label5 = new QLabel(QStringLiteral("If any of these words are found when renaming a file (case insensitive), they will be replaced by those (case sensitive). Example: \"feat.\" will prevent title case renaming to Feat."), page);
    Label5->setWordWrap(true);
    listBoxWords = new QListWidget(page);
    listBoxWords->setSelectionMode(QAbstractItemView::ExtendedSelection);
    editWord = new QLineEdit(page);
    editWord->setToolTip(QStringLiteral("Remember to write the word exactly the way you want it to appear (case matters)"));
    btnAddWord = new QPushButton(QStringLiteral("Add"), page);
    btnDeleteWord = new QPushButton(QStringLiteral("Delete"), page);
    listBoxWords->setAccessibleName(Label4->text());
    editWord->setAccessibleName(QStringLiteral("Word"));
    pressOnEnter(editWord, btnAddWord);

    auto* layout = new QGridLayout(page);
    layout->addWidget(Label4, 0, 0, 1, 2);
    layout->addWidget(Label5, 1, 0, 1, 2);
    layout->addWidget(listBoxWords, 2, 0, 3, 1);
    layout->addWidget(editWord, 2, 1);
    layout->addWidget(btnAddWord, 3, 1);
    layout->addWidget(btnDeleteWord, 4, 1, Qt::AlignTop);
    return page;
}

void TFormOptions::connectHandlers()
{
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbOtherFormat, &QComboBox::activated, this, [this] {
        cbOtherFormatChange();
        cbOtherFormatCloseUp();
    });
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormOptions::btnArtistClick);
    connect(btnTitle, &QToolButton::clicked, this, &TFormOptions::btnTitleClick);
    connect(btnAlbum, &QToolButton::clicked, this, &TFormOptions::btnAlbumClick);
    connect(btnTrack, &QToolButton::clicked, this, &TFormOptions::btnTrackClick);
    connect(btnArtistPlaylist, &QToolButton::clicked, this, &TFormOptions::btnArtistPlaylistClick);
    connect(btnAlbumPlaylist, &QToolButton::clicked, this, &TFormOptions::btnAlbumPlaylistClick);
    connect(btnYearPlaylist, &QToolButton::clicked, this, &TFormOptions::btnYearPlaylistClick);
    connect(btnGenrePlaylist, &QToolButton::clicked, this, &TFormOptions::btnGenrePlaylistClick);
    connect(btnDelete, &QPushButton::clicked, this, &TFormOptions::btndeleteClick);
    connect(btnDeletePlaylist, &QPushButton::clicked, this, &TFormOptions::btnDeletePlaylistClick);
    connect(btnDefault, &QPushButton::clicked, this, &TFormOptions::btnDefaultClick);
    connect(btnDefaultPlaylist, &QPushButton::clicked, this, &TFormOptions::btnDefaultPlaylistClick);
    connect(btnDefaultFreedb, &QPushButton::clicked, this, &TFormOptions::btnDefaultFreedbClick);
    connect(sbtnBrowseOpen, &QToolButton::clicked, this, &TFormOptions::sbtnBrowseOpenClick);
    connect(sbtnBrowsePlaylist, &QToolButton::clicked, this, &TFormOptions::sbtnBrowsePlaylistClick);
    connect(sbtnBrowseEnc, &QToolButton::clicked, this, &TFormOptions::sbtnBrowseEncClick);
    connect(sbtnBrowseDec, &QToolButton::clicked, this, &TFormOptions::sbtnBrowseDecClick);
    connect(btnColor1, &QPushButton::clicked, this, &TFormOptions::btnColor1Click);
    connect(btnColor2, &QPushButton::clicked, this, &TFormOptions::btnColor2Click);
    connect(btnColor3, &QPushButton::clicked, this, &TFormOptions::btnColor3Click);
    connect(btnColor4, &QPushButton::clicked, this, &TFormOptions::btnColor4Click);
    connect(btnAddWord, &QPushButton::clicked, this, &TFormOptions::btnAddWordClick);
    connect(btnDeleteWord, &QPushButton::clicked, this, &TFormOptions::btnDeleteWordClick);
    connect(btnEditformats, &QPushButton::clicked, this, &TFormOptions::btnEditformatsClick);
}

void TFormOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}
