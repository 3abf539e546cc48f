#include "UnitRenamingFormats.h"

#include "EnterPresses.h"
#include "FixedDialogSize.h"
#include "TokenInsertion.h"
#include "UserInterface.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFormRenamingFormats* FormRenamingFormats = nullptr;

TFormRenamingFormats::TFormRenamingFormats(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Renaming Formats"));

    GroupBox1 = new QGroupBox(QStringLiteral("Saved formats"), this);
    lblNote = new QLabel(QStringLiteral("Note: to use these formats you must rename files by right-clicking a selection in the file grid"), GroupBox1);
    lblNote->setWordWrap(true);
    ListBoxFormats = new QListWidget(GroupBox1);
    ListBoxFormats->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBoxFormats->setAccessibleName(GroupBox1->title());
    btnDelete = new QPushButton(QStringLiteral("Delete"), GroupBox1);
    auto* saved = new QGridLayout(GroupBox1);
    saved->addWidget(lblNote, 0, 0, 1, 2);
    saved->addWidget(ListBoxFormats, 1, 0);
    saved->addWidget(btnDelete, 1, 1, Qt::AlignTop);

    GroupBox2 = new QGroupBox(QStringLiteral("Build formats"), this);
    EditFormat = new QLineEdit(GroupBox2);
    btnAddFormat = new QPushButton(QStringLiteral("Add"), GroupBox2);
    btnRenameArtist = new QPushButton(QStringLiteral("Artist"), GroupBox2);
    btnRenameAlbum = new QPushButton(QStringLiteral("Album"), GroupBox2);
    btnRenameTrack = new QPushButton(QStringLiteral("Track"), GroupBox2);
    btnRenameTitle = new QPushButton(QStringLiteral("Title"), GroupBox2);
    BitBtn1 = new QPushButton(QStringLiteral("Bitrate"), GroupBox2);
    auto* build = new QGridLayout(GroupBox2);
    build->addWidget(EditFormat, 0, 0, 1, 4);
    build->addWidget(btnAddFormat, 0, 4);
    auto* tokens = new QHBoxLayout;
    // Token buttons keep out of the focus so the edit keeps its selection. Five in a row fit the
    // dialog's width as long as each is no wider than its caption needs.
    for (QPushButton* button : {btnRenameArtist, btnRenameAlbum, btnRenameTrack, btnRenameTitle, BitBtn1}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(captionWidth(button));
        tokens->addWidget(button);
    }
    build->addLayout(tokens, 1, 0, 1, 5);

    // OK is the default button; a button that has the focus takes its place for Enter, and Enter
    // in the format being built adds it.
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    pressOnEnter(EditFormat, btnAddFormat);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons);
    setFixedSize(fixedDialogSize(layout, QSize(344, 293)));

    connect(btnRenameArtist, &QPushButton::clicked, this, &TFormRenamingFormats::btnRenameArtistClick);
    connect(btnRenameAlbum, &QPushButton::clicked, this, &TFormRenamingFormats::btnRenameAlbumClick);
    connect(btnRenameTrack, &QPushButton::clicked, this, &TFormRenamingFormats::btnRenameTrackClick);
    connect(btnRenameTitle, &QPushButton::clicked, this, &TFormRenamingFormats::btnRenameTitleClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormRenamingFormats::btnBitrateClick);
    connect(btnAddFormat, &QPushButton::clicked, this, &TFormRenamingFormats::btnAddFormatClick);
    connect(btnDelete, &QPushButton::clicked, this, &TFormRenamingFormats::btnDeleteClick);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    FormRenamingFormats = this;
}

TFormRenamingFormats::~TFormRenamingFormats()
{
    if (FormRenamingFormats == this)
        FormRenamingFormats = nullptr;
}

void TFormRenamingFormats::insertFormatToken(const QString& token)
{
    insertToken(EditFormat, token);
    EditFormat->setFocus();
}

void TFormRenamingFormats::btnRenameArtistClick()
{
    insertFormatToken(QStringLiteral("#ARTIST#"));
}

void TFormRenamingFormats::btnRenameAlbumClick()
{
    insertFormatToken(QStringLiteral("#ALBUM#"));
}

void TFormRenamingFormats::btnRenameTrackClick()
{
    insertFormatToken(QStringLiteral("#TRACK#"));
}

void TFormRenamingFormats::btnRenameTitleClick()
{
    insertFormatToken(QStringLiteral("#TITLE#"));
}

void TFormRenamingFormats::btnBitrateClick()
{
    insertFormatToken(QStringLiteral("#BITRATE#"));
}

void TFormRenamingFormats::btnAddFormatClick()
{
    if (EditFormat->text().isEmpty())
        return;
    // Every format needs its own settings value, and there are ten of them.
    if (ListBoxFormats->count() >= MaxFormats) {
        ui::showMessage(QStringLiteral("Limit of 10 formats reached, delete one first."), ui::Icon::None);
        return;
    }
    ListBoxFormats->addItem(EditFormat->text());
}

void TFormRenamingFormats::btnDeleteClick()
{
    qDeleteAll(ListBoxFormats->selectedItems());
}
