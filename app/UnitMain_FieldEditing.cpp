// Commands that change the active tag page's fields and never a file: clear, copy and paste through
// the field clipboard, swap from the other tag version, capitalise, and selecting a field's text
// with a double click.

#include "UnitMain.h"

#include "TagCommandRules.h"
#include "TagFieldTexts.h"
#include "UnitUtilities.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace {

// Turns a double click on a field into the field's handler instead of its own word selection.
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* watched, std::function<void()> handler)
        : QObject(watched), handler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        handler();
        return true;
    }

private:
    std::function<void()> handler;
};

constexpr int ClipboardEntries = 11;
constexpr int Id3v1ClipboardEntries = 7;

}  // namespace

void TFormMain::connectFieldEditing()
{
    connect(EditTrackV1, &QLineEdit::textChanged, this, &TFormMain::EditTrackV1Change);
    connect(EditYearV1, &QLineEdit::textChanged, this, &TFormMain::EditYearV1Change);
    for (QLineEdit* edit : {EditTitleV1, EditArtistV1, EditAlbumV1, EditYearV1, EditTrackV1, EditCommentV1, EditTitleV2,
                            EditArtistV2, EditAlbumV2, EditYearV2, EditTrackV2, EditEncoderV2, EditUrlV2,
                            EditComposerV2, EditOrigArtistV2})
        new DoubleClickFilter(edit, [this, edit] { EditTitleV1DblClick(edit); });
    // The memo's text area takes its mouse events, not the memo itself.
    new DoubleClickFilter(MemoCommentV2->viewport(), [this] { MemoCommentV2DblClick(); });
}

void TFormMain::miClearAllTagsClick()
{
    if (activePage() == TagPage::V1)
        clearId3v1Page();
    else
        clearId3v2Page();
}

void TFormMain::miCopyAllTagsClick()
{
    FieldClipboard.clear();
    if (activePage() == TagPage::V1) {
        FieldClipboard << EditTitleV1->text() << EditArtistV1->text() << EditAlbumV1->text() << EditYearV1->text()
                       << EditCommentV1->text() << EditTrackV1->text() << cbGenreV1->currentText();
        while (FieldClipboard.size() < ClipboardEntries)
            FieldClipboard << QString();
        return;
    }
    FieldClipboard << EditTitleV2->text() << EditArtistV2->text() << EditAlbumV2->text() << EditYearV2->text()
                   << MemoCommentV2->toPlainText() << EditTrackV2->text() << cbGenreV2->currentText()
                   << EditEncoderV2->text() << EditUrlV2->text() << EditComposerV2->text()
                   << EditOrigArtistV2->text();
}

void TFormMain::miPasteAllTagsClick()
{
    const QStringList& entries = FieldClipboard;
    if (activePage() == TagPage::V1) {
        if (entries.size() < Id3v1ClipboardEntries)
            return;
        EditTitleV1->setText(id3v1FieldFit(entries[0], 30));
        EditArtistV1->setText(id3v1FieldFit(entries[1], 30));
        EditAlbumV1->setText(id3v1FieldFit(entries[2], 30));
        EditYearV1->setText(id3v1FieldFit(entries[3], 4));
        EditCommentV1->setText(id3v1FieldFit(entries[4], 28));
        const qsizetype slash = entries[5].indexOf(QLatin1Char('/'));
        // The digits-only rule sees the whole text before it is cut.
        EditTrackV1->setText(slash >= 0 ? entries[5].left(slash) : entries[5]);
        EditTrackV1->setText(leftCharacters(EditTrackV1->text(), 2));
        cbGenreV1->setCurrentIndex(GenreIndexOf(entries[6]));
        return;
    }
    if (entries.size() < ClipboardEntries)
        return;
    EditTitleV2->setText(entries[0]);
    EditArtistV2->setText(entries[1]);
    EditAlbumV2->setText(entries[2]);
    EditYearV2->setText(entries[3]);
    MemoCommentV2->setPlainText(entries[4]);
    EditTrackV2->setText(entries[5]);
    cbGenreV2->setCurrentText(entries[6]);
    EditEncoderV2->setText(entries[7]);
    EditUrlV2->setText(entries[8]);
    EditComposerV2->setText(entries[9]);
    EditOrigArtistV2->setText(entries[10]);
}

void TFormMain::miSwapClick()
{
    const int focused = gridFocusedRow();
    if (gridSelectedRows().isEmpty() || focused < 0 || focused >= static_cast<int>(FileList.size()))
        return;
    const TMpegFile& file = *FileList[static_cast<std::size_t>(focused)];

    if (activePage() == TagPage::V1) {
        const TID3v2& tag = file.ID3v2;
        EditTitleV1->setText(id3v1FieldFit(tag.Title, 30));
        EditArtistV1->setText(id3v1FieldFit(tag.Artist, 30));
        EditAlbumV1->setText(id3v1FieldFit(tag.Album, 30));
        EditYearV1->setText(id3v1FieldFit(tag.Year, 4));
        EditTrackV1->setText(id3v1TrackText(tag.Track));
        // A number reference ("(17)") is looked up by the name it stands for, as the copy to ID3v1 does.
        cbGenreV1->setCurrentIndex(GenreIndexOf(DecodeGenre(tag.Genre)));
        EditCommentV1->setText(id3v1FieldFit(tag.Comment, 28));
        return;
    }
    if (!file.HasID3v1) {
        clearId3v2FieldsOfId3v1();
        cbGenreV2->setCurrentIndex(0);
        return;
    }
    const TID3v1& block = file.ID3v1;
    EditTitleV2->setText(id3v1FieldText(block.Title, 30));
    EditArtistV2->setText(id3v1FieldText(block.Artist, 30));
    EditAlbumV2->setText(id3v1FieldText(block.Album, 30));
    EditYearV2->setText(id3v1FieldText(block.Year, 4));
    EditTrackV2->setText(QString::number(block.track()));
    MemoCommentV2->setPlainText(id3v1FieldText(block.Comment, 29));
    cbGenreV2->setCurrentIndex(block.Genre < ID3GenreCount ? GenreIndexOf(id3v1GenreName(block.Genre)) : 0);
}

void TFormMain::miCapitalizeFieldsClick()
{
    const QStringList words = DictionaryWordList(DictionaryWords);
    const auto capitalize = [&words](QLineEdit* edit) {
        edit->setText(ApplyDictionaryWords(CapitalizeWords(edit->text()), words));
    };
    if (activePage() == TagPage::V1) {
        for (QLineEdit* edit : {EditArtistV1, EditAlbumV1, EditTitleV1})
            capitalize(edit);
    } else {
        for (QLineEdit* edit : {EditArtistV2, EditAlbumV2, EditTitleV2})
            capitalize(edit);
    }
}

void TFormMain::EditTitleV1DblClick(QLineEdit* Sender)
{
    Sender->selectAll();
}

void TFormMain::MemoCommentV2DblClick()
{
    MemoCommentV2->selectAll();
}
