#include "UnitOptions.h"

#include "GridText.h"
#include "TokenInsertion.h"
#include "UnitBrowseFolder.h"
#include "UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QRadioButton>
#include <QTabWidget>

namespace {

const char* const SwatchColorProperty = "settingColor";

}  // namespace

void TFormOptions::FormShow()
{
    PageControlOptions->setCurrentIndex(0);
    cbOtherFormat->setToolTip(cbOtherFormat->currentText());
}

void TFormOptions::cbOtherFormatChange()
{
    rdOther->setChecked(true);
}

void TFormOptions::cbOtherFormatCloseUp()
{
    cbOtherFormat->setToolTip(cbOtherFormat->currentText());
}

void TFormOptions::btnArtistClick()
{
    insertToken(cmbGuessFormat->lineEdit(), QStringLiteral("#ARTIST#"));
}

void TFormOptions::btnTitleClick()
{
    insertToken(cmbGuessFormat->lineEdit(), QStringLiteral("#TITLE#"));
}

void TFormOptions::btnAlbumClick()
{
    insertToken(cmbGuessFormat->lineEdit(), QStringLiteral("#ALBUM#"));
}

void TFormOptions::btnTrackClick()
{
    insertToken(cmbGuessFormat->lineEdit(), QStringLiteral("#TRACK#"));
}

void TFormOptions::btnArtistPlaylistClick()
{
    insertToken(cmbPlaylistFormat->lineEdit(), QStringLiteral("#ARTIST#"));
}

void TFormOptions::btnAlbumPlaylistClick()
{
    insertToken(cmbPlaylistFormat->lineEdit(), QStringLiteral("#ALBUM#"));
}

void TFormOptions::btnYearPlaylistClick()
{
    insertToken(cmbPlaylistFormat->lineEdit(), QStringLiteral("#YEAR#"));
}

void TFormOptions::btnGenrePlaylistClick()
{
    insertToken(cmbPlaylistFormat->lineEdit(), QStringLiteral("#GENRE#"));
}

void TFormOptions::btndeleteClick()
{
    cmbGuessFormat->setEditText(QString());
    cmbGuessFormat->setFocus();
}

void TFormOptions::btnDeletePlaylistClick()
{
    cmbPlaylistFormat->setEditText(QString());
    cmbPlaylistFormat->setFocus();
}

void TFormOptions::btnDefaultClick()
{
    cmbGuessFormat->setEditText(QStringLiteral("#ARTIST# - #TITLE#"));
    cbGuessTag->setChecked(true);
}

void TFormOptions::btnDefaultPlaylistClick()
{
    cmbPlaylistFormat->setEditText(QStringLiteral("#ARTIST# - #ALBUM#"));
    cbGeneratePlaylistName->setChecked(true);
}

void TFormOptions::btnDefaultFreedbClick()
{
    EditPort->setText(QStringLiteral("8880"));
    EditServer->setText(DefaultFreedbServer);
}

void TFormOptions::browseFolder(QLineEdit* edit, const QString& message)
{
    TFormBrowseFolder dialog(this);
    dialog.chkSubfolders->hide();
    dialog.SetMessage(message);
    dialog.InitialFolder = edit->text();
    if (dialog.exec() == QDialog::Accepted)
        edit->setText(dialog.GetFolder());
}

void TFormOptions::sbtnBrowseOpenClick()
{
    browseFolder(EditDirOpen, QStringLiteral("Choose a default folder to open files"));
}

void TFormOptions::sbtnBrowsePlaylistClick()
{
    browseFolder(EditDirPlaylist, QStringLiteral("Choose a default folder to open/save playlists"));
}

void TFormOptions::sbtnBrowseEncClick()
{
    browseFolder(EditDirEncode, QStringLiteral("Choose a default encode folder."));
}

void TFormOptions::sbtnBrowseDecClick()
{
    browseFolder(EditDirDecode, QStringLiteral("Choose a default decode folder."));
}

qint32 TFormOptions::swatchColor(const QLineEdit* swatch) const
{
    return swatch->property(SwatchColorProperty).toInt();
}

// The swatch shows the colour as the grid paints it.
void TFormOptions::setSwatchColor(QLineEdit* swatch, qint32 color)
{
    swatch->setProperty(SwatchColorProperty, color);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Base, gridColor(color));
    swatch->setPalette(palette);
}

// The colour dialog starts on the colour last chosen in it, not on the row's swatch.
void TFormOptions::pickColor(QLineEdit* swatch)
{
    const std::optional<quint32> chosen = ui::userInterface().chooseColor(ColorDlg);
    if (!chosen)
        return;
    ColorDlg = *chosen;
    setSwatchColor(swatch, pickedGridColor(*chosen));
}

void TFormOptions::btnColor1Click()
{
    pickColor(DBEdit1);
}

void TFormOptions::btnColor2Click()
{
    pickColor(DBEdit2);
}

void TFormOptions::btnColor3Click()
{
    pickColor(DBEdit3);
}

void TFormOptions::btnColor4Click()
{
    pickColor(DBEdit4);
}

void TFormOptions::btnAddWordClick()
{
    const QString word = editWord->text();
    if (word.isEmpty())
        return;
    for (int i = 0; i < listBoxWords->count(); ++i) {
        if (listBoxWords->item(i)->text().compare(word, Qt::CaseInsensitive) == 0)
            return;
    }
    listBoxWords->addItem(word);
}

void TFormOptions::btnDeleteWordClick()
{
    qDeleteAll(listBoxWords->selectedItems());
}
