// Saving the active tag page into the selected files, the field locks, and the digits-only fields
// of the ID3v1 page.

#include "UnitMain.h"

#include "TagBatch.h"
#include "TagCommandRules.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeView>

namespace {

// A button whose field is written: every one for a single file, the locked ones for several.
bool chosen(const QToolButton* lock, bool multi)
{
    return !multi || lock->isChecked();
}

void setAllLocks(const TFormMain& form, bool down)
{
    for (QToolButton* lock : {form.sbtnTitleV1, form.sbtnArtistV1, form.sbtnAlbumV1, form.sbtnYearV1, form.sbtnTrackV1,
                              form.sbtnCommentV1, form.sbtnGenreV1, form.sbtnTitleV2, form.sbtnArtistV2,
                              form.sbtnAlbumV2, form.sbtnYearV2, form.sbtnTrackV2, form.sbtnCommentV2, form.sbtnGenreV2,
                              form.sbtnEncoderV2, form.sbtnUrlV2, form.sbtnComposerV2, form.sbtnOrigArtistV2})
        lock->setChecked(down);
}

void setDigitsOnly(QLineEdit* edit)
{
    if (!isDigitsOnly(edit->text()))
        edit->clear();
}

}  // namespace

void TFormMain::miSaveClick()
{
    // The progress window enables the other windows again however the save ends.
    SaveTags();
}

void TFormMain::SaveTags()
{
    const QList<int> selected = gridSelectedRows();
    if (selected.isEmpty())
        return;
    const bool multi = selected.size() > 1;
    const int firstIndex = selected.first();
    const bool pageV2 = activePage() == TagPage::V2;
    const std::vector<Id3v2PageField> pageFields = id3v2PageFields();
    bool skippedV22 = false;

    const auto saveV2 = [&](const TMpegFile& file) {
        TID3v2 tag = file.ID3v2;
        if (tag.Version == 2) {
            if (!OptionConvertV22) {
                skippedV22 = true;
                return TagWork::Skipped;
            }
            // A tag that could not be removed is not written over in a version it does not have.
            if (!RemoveID3v2(file.FileName, *tag.ReadState))
                return TagWork::Skipped;
            ReadID3v2(file.FileName, tag);
        }
        if (!tag.Present)
            MakeNewID3v2Header(tag);
        const bool shown = !multi && file.FileName == shownId3v2File;
        for (size_t i = 0; i < pageFields.size(); ++i) {
            const Id3v2PageField& field = pageFields[i];
            const bool changed = !shown || field.text != shownId3v2Texts.value(qsizetype(i));
            if (chosen(field.lock, multi) && changed)
                tag.*field.tagText = field.text;
        }
        WriteID3v2(tag, file.FileName);
        return TagWork::Done;
    };

    Id3v1PageFields page;
    page.title = EditTitleV1->text();
    page.artist = EditArtistV1->text();
    page.album = EditAlbumV1->text();
    page.year = EditYearV1->text();
    page.comment = EditCommentV1->text();
    page.track = EditTrackV1->text();
    page.genre = cbGenreV1->currentIndex() > 0 ? static_cast<quint8>(cbGenreV1->currentData().toInt()) : NoGenre;
    Id3v1FieldChoice choice;
    choice.title = chosen(sbtnTitleV1, multi);
    choice.artist = chosen(sbtnArtistV1, multi);
    choice.album = chosen(sbtnAlbumV1, multi);
    choice.year = chosen(sbtnYearV1, multi);
    choice.comment = chosen(sbtnCommentV1, multi);
    choice.track = chosen(sbtnTrackV1, multi);
    choice.genre = chosen(sbtnGenreV1, multi);

    const auto saveV1 = [&](const TMpegFile& file) {
        TID3v1 block = emptyId3v1Block();
        if (multi && file.HasID3v1)
            block = file.ID3v1;
        placeId3v1Fields(block, page, choice);
        WriteID3v1(block, file.FileName);
        return TagWork::Done;
    };

    TagBatch batch;
    batch.message = QStringLiteral("Saving tag of: ");
    batch.keepTimestamp = OptionKeepTimestamp;
    if (pageV2)
        runTagBatch(*this, batch, saveV2);
    else
        runTagBatch(*this, batch, saveV1);

    if (skippedV22)
        ui::showMessage(QStringLiteral("Modifying tags v2.2 is not supported. Remove the tag before saving."),
                        ui::Icon::Error);
    if (!multi && firstIndex < static_cast<int>(FileList.size()) - 1 && OptionSelectNextRow)
        selectGridRow(firstIndex + 1);
    PageControlTagChange();
    miUnlockAllClick();
    if (OptionFocusGrid)
        vtgrid->setFocus();
}

std::vector<TFormMain::Id3v2PageField> TFormMain::id3v2PageFields() const
{
    return {
        {sbtnTitleV2, EditTitleV2->text(), &TID3v2::Title},
        {sbtnArtistV2, EditArtistV2->text(), &TID3v2::Artist},
        {sbtnAlbumV2, EditAlbumV2->text(), &TID3v2::Album},
        {sbtnYearV2, EditYearV2->text(), &TID3v2::Year},
        {sbtnCommentV2, MemoCommentV2->toPlainText(), &TID3v2::Comment},
        {sbtnTrackV2, EditTrackV2->text(), &TID3v2::Track},
        {sbtnGenreV2, cbGenreV2->currentText(), &TID3v2::Genre},
        {sbtnEncoderV2, EditEncoderV2->text(), &TID3v2::Encoder},
        {sbtnUrlV2, EditUrlV2->text(), &TID3v2::Url},
        {sbtnComposerV2, EditComposerV2->text(), &TID3v2::Composer},
        {sbtnOrigArtistV2, EditOrigArtistV2->text(), &TID3v2::OrigArtist},
    };
}

void TFormMain::rememberShownId3v2Page(const QString& fileName)
{
    shownId3v2File = fileName;
    shownId3v2Texts.clear();
    for (const Id3v2PageField& field : id3v2PageFields())
        shownId3v2Texts.append(field.text);
}

void TFormMain::miLockAllClick()
{
    setAllLocks(*this, true);
}

void TFormMain::miUnlockAllClick()
{
    setAllLocks(*this, false);
}

void TFormMain::EditTrackV1Change()
{
    setDigitsOnly(EditTrackV1);
}

void TFormMain::EditYearV1Change()
{
    setDigitsOnly(EditYearV1);
}
