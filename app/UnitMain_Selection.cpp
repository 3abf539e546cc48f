// Showing the selected file: the path, the information panel, the lights and, for one file, both
// tag pages, with empty fields guessed from the file name.

#include "UnitMain.h"

#include "TagGuess.h"
#include "TagFieldTexts.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeView>

namespace {

void fillWhenEmpty(QLineEdit* field, const QString& text)
{
    if (field->text().isEmpty())
        field->setText(text);
}

}  // namespace

void TFormMain::vtgridChange(int Node)
{
    if (FileList.empty())
        return;
    const QList<int> selected = gridSelectedRows();
    if (selected.isEmpty()) {
        UpdateCommands();
        SetTagLights(false, false, false, false, false);
        return;
    }
    if (!selected.contains(gridFocusedRow()))
        vtgrid->selectionModel()->setCurrentIndex(gridRowCell(selected.first()), QItemSelectionModel::NoUpdate);
    int row = -1;
    if (Node >= 0)
        row = selected.contains(Node) ? Node : selected.first();
    else if (selected.size() == 1)
        row = selected.first();

    const TMpegFile& file = *FileList[static_cast<std::size_t>(row >= 0 ? row : gridFocusedRow())];
    panelFilePath->setText(QStringLiteral(" File path: ") + file.FileName);
    // Several files and none named: the pages keep what they show, and only the path of the file
    // shown follows a rename.
    if (row < 0)
        return;
    ShowMpegInfo(file.FileName);
    ShowTagLights(file);
    UpdateCommands();
    if (selected.size() > 1)
        return;

    const TID3v1& block = file.ID3v1;
    const bool hasV1 = file.HasID3v1;
    EditTitleV1->setText(hasV1 ? id3v1FieldText(block.Title, 30) : QString());
    EditArtistV1->setText(hasV1 ? id3v1FieldText(block.Artist, 30) : QString());
    EditAlbumV1->setText(hasV1 ? id3v1FieldText(block.Album, 30) : QString());
    EditYearV1->setText(hasV1 ? id3v1FieldText(block.Year, 4) : QString());
    EditCommentV1->setText(hasV1 ? id3v1FieldText(block.Comment, 29) : QString());
    EditTrackV1->setText(hasV1 && block.track() >= 1 && block.track() <= 99 ? QString::number(block.track()) : QString());
    if (hasV1 && block.Genre < ID3GenreCount)
        cbGenreV1->setCurrentIndex(GenreIndexOf(QString::fromLatin1(ID3Genres[block.Genre])));
    else
        cbGenreV1->setCurrentIndex(0);

    const TID3v2 tag = file.ID3v2;
    EditTitleV2->setText(tag.Title);
    EditArtistV2->setText(tag.Artist);
    EditAlbumV2->setText(tag.Album);
    EditYearV2->setText(tag.Year);
    EditTrackV2->setText(tag.Track);
    cbGenreV2->setCurrentText(DecodeGenre(tag.Genre));
    MemoCommentV2->setPlainText(tag.Comment);
    EditEncoderV2->setText(tag.Encoder);
    EditUrlV2->setText(tag.Url);
    EditComposerV2->setText(tag.Composer);
    EditOrigArtistV2->setText(tag.OrigArtist);
    rememberShownId3v2Page(file.FileName);

    if (OptionGuessTag)
        GuessTagFromFileName();
    // A text a field held already, as after a refresh, keeps the caret at its end when set again.
    for (QLineEdit* field : PageControlTag->findChildren<QLineEdit*>())
        field->setCursorPosition(0);
}

void TFormMain::GuessTagFromFileName()
{
    const int row = gridFocusedRow();
    if (row < 0 || row >= static_cast<int>(FileList.size()))
        return;
    const QString fileName = FileList[static_cast<std::size_t>(row)]->FileName;
    for (const GuessedValue& guessed : guessFromFileName(GuessFormat, fileName)) {
        const QString value = trimmedText(guessed.value);
        if (guessed.placeholder == QLatin1String("#TITLE#")) {
            fillWhenEmpty(EditTitleV1, value);
            fillWhenEmpty(EditTitleV2, value);
        } else if (guessed.placeholder == QLatin1String("#ARTIST#")) {
            fillWhenEmpty(EditArtistV1, value);
            fillWhenEmpty(EditArtistV2, value);
        } else if (guessed.placeholder == QLatin1String("#ALBUM#")) {
            fillWhenEmpty(EditAlbumV1, value);
            fillWhenEmpty(EditAlbumV2, value);
        } else if (guessed.placeholder == QLatin1String("#TRACK#")) {
            fillWhenEmpty(EditTrackV1, trimmedText(leftCharacters(guessed.value, 2)));
            fillWhenEmpty(EditTrackV2, value);
        }
    }
}
