#include "TagCommandsFixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

using FieldEditing = TagCommandsTest;
using fixtures::ID3v2TagBuilder;

void fillV2(TFormMain& form)
{
    form.EditTitleV2->setText(QString(40, 't'));
    form.EditArtistV2->setText("Artist");
    form.EditAlbumV2->setText("Album");
    form.EditYearV2->setText("2004-05-06");
    form.MemoCommentV2->setPlainText(QString(35, 'c'));
    form.EditTrackV2->setText("12/15");
    form.cbGenreV2->setCurrentText("Rock");
    form.EditEncoderV2->setText("Encoder");
    form.EditUrlV2->setText("Url");
    form.EditComposerV2->setText("Composer");
    form.EditOrigArtistV2->setText("Orig");
}

// "a" and then notes beyond the 16-bit range: cut by UTF-16 units, the last note would be halved.
QString aAndNotes(int count)
{
    return "a" + QStringLiteral("\U0001F3B5").repeated(count);
}

// 29 characters; 35 code points when decomposed, as some systems paste it.
const QString composed = QStringLiteral("Noël à Orléans, été de Québec");
const QString decomposed = composed.normalized(QString::NormalizationForm_D);

}  // namespace

TEST_F(FieldEditing, CopyOnId3v1AndPasteOnId3v2EmptiesTheCredits)
{
    showPage(form.TabSheetV1);
    form.EditTitleV1->setText("Title");
    form.EditArtistV1->setText("Artist");
    form.EditAlbumV1->setText("Album");
    form.EditYearV1->setText("1999");
    form.EditCommentV1->setText("Comment");
    form.EditTrackV1->setText("7");
    form.cbGenreV1->setCurrentIndex(form.GenreIndexOf("Jazz"));
    form.miCopyAllTagsClick();
    EXPECT_EQ(form.FieldClipboard,
              QStringList({"Title", "Artist", "Album", "1999", "Comment", "7", "Jazz", "", "", "", ""}));

    showPage(form.TabSheetV2);
    fillV2(form);
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.EditTitleV2->text(), "Title");
    EXPECT_EQ(form.MemoCommentV2->toPlainText(), "Comment");
    EXPECT_EQ(form.EditTrackV2->text(), "7");
    EXPECT_EQ(form.cbGenreV2->currentText(), "Jazz");
    EXPECT_EQ(form.EditEncoderV2->text(), "");
    EXPECT_EQ(form.EditUrlV2->text(), "");
    EXPECT_EQ(form.EditComposerV2->text(), "");
    EXPECT_EQ(form.EditOrigArtistV2->text(), "");
}

TEST_F(FieldEditing, CopyOnId3v2AndPasteOnId3v1CutsToTheFieldWidths)
{
    showPage(form.TabSheetV2);
    fillV2(form);
    form.miCopyAllTagsClick();
    ASSERT_EQ(form.FieldClipboard.size(), 11);
    showPage(form.TabSheetV1);
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.EditTitleV1->text(), QString(30, 't'));
    EXPECT_EQ(form.EditYearV1->text(), "2004");
    EXPECT_EQ(form.EditCommentV1->text(), QString(28, 'c'));
    EXPECT_EQ(form.EditTrackV1->text(), "12");
    EXPECT_EQ(form.cbGenreV1->currentText(), "Rock");

    form.FieldClipboard[0] = aAndNotes(40);
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.EditTitleV1->text(), aAndNotes(29));
    form.FieldClipboard[0] = decomposed;
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.EditTitleV1->text(), composed);

    const QList<QPair<QString, QString>> tracks = {{"123", "12"}, {"12/15", "12"}, {"A1", ""}, {"1a/2", ""}};
    for (const auto& [track, shown] : tracks) {
        form.FieldClipboard[5] = track;
        form.miPasteAllTagsClick();
        EXPECT_EQ(form.EditTrackV1->text(), shown) << track.toStdString();
    }
}

TEST_F(FieldEditing, AGenreOutsideTheListSelectsNothingOnId3v1AndStaysTextOnId3v2)
{
    form.FieldClipboard = {"", "", "", "", "", "", "Chiptune Polka", "", "", "", ""};
    showPage(form.TabSheetV1);
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.cbGenreV1->currentIndex(), -1);
    showPage(form.TabSheetV2);
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.cbGenreV2->currentText(), "Chiptune Polka");
}

TEST_F(FieldEditing, PasteWithAShortClipboardDoesNothing)
{
    showPage(form.TabSheetV2);
    form.EditTitleV2->setText("kept");
    form.FieldClipboard = {"a", "b", "c", "d", "e", "f", "g"};
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.EditTitleV2->text(), "kept");
    showPage(form.TabSheetV1);
    form.FieldClipboard.clear();
    form.EditTitleV1->setText("kept");
    form.miPasteAllTagsClick();
    EXPECT_EQ(form.EditTitleV1->text(), "kept");
}

TEST_F(FieldEditing, SwapOnId3v2FillsFromTheId3v1Block)
{
    open({{{}, v1("  Title ", "Artist", 0, 255, "Comment")}});
    selectRows({0});
    showPage(form.TabSheetV2);
    form.EditComposerV2->setText("Composer");
    form.miSwapClick();
    EXPECT_EQ(form.EditTitleV2->text(), "Title");
    EXPECT_EQ(form.EditTrackV2->text(), "0");
    EXPECT_EQ(form.MemoCommentV2->toPlainText(), "Comment");
    EXPECT_EQ(form.cbGenreV2->currentIndex(), 0);
    EXPECT_EQ(form.EditComposerV2->text(), "Composer");
}

TEST_F(FieldEditing, SwapOnId3v2TakesTheGenreByteAndEmptiesTheFieldsOfAFileWithoutBlock)
{
    open({{{}, v1("Title", "Artist", 7, 17)}, {{}, {}}});
    showPage(form.TabSheetV2);
    selectRows({0});
    form.miSwapClick();
    EXPECT_EQ(form.cbGenreV2->currentText(), "Rock");
    EXPECT_EQ(form.EditTrackV2->text(), "7");

    selectRows({1});
    fillV2(form);
    form.miSwapClick();
    for (const QLineEdit* edit : {form.EditTitleV2, form.EditArtistV2, form.EditAlbumV2, form.EditYearV2,
                                  form.EditTrackV2})
        EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(form.MemoCommentV2->toPlainText(), "");
    EXPECT_EQ(form.cbGenreV2->currentIndex(), 0);
    EXPECT_EQ(form.cbGenreV2->currentText(), "");
    EXPECT_EQ(form.EditEncoderV2->text(), "Encoder");
    EXPECT_EQ(form.EditUrlV2->text(), "Url");
    EXPECT_EQ(form.EditComposerV2->text(), "Composer");
    EXPECT_EQ(form.EditOrigArtistV2->text(), "Orig");
}

TEST_F(FieldEditing, SwapOnId3v1FillsFromTheId3v2Tag)
{
    const QByteArray tag = ID3v2TagBuilder(3)
                               .textFrame("TIT2", QString(35, 't'))
                               .textFrame("TYER", "2004-05-06")
                               .textFrame("TRCK", "123/200")
                               .textFrame("TCON", "(17)")
                               .textFrame("TALB", aAndNotes(40), 1)
                               .textFrame("TPE1", decomposed, 1)
                               .build();
    open({{tag, {}}, {{}, v1("b")}});
    showPage(form.TabSheetV1);
    selectRows({0});
    form.miSwapClick();
    EXPECT_EQ(form.EditTitleV1->text(), QString(30, 't'));
    EXPECT_EQ(form.EditYearV1->text(), "2004");
    EXPECT_EQ(form.EditTrackV1->text(), "123");
    EXPECT_EQ(form.cbGenreV1->currentText(), "Rock");
    EXPECT_EQ(form.EditAlbumV1->text(), aAndNotes(29));
    EXPECT_EQ(form.EditArtistV1->text(), composed);

    selectRows({1});
    form.miSwapClick();
    for (const QLineEdit* edit : {form.EditTitleV1, form.EditArtistV1, form.EditAlbumV1, form.EditYearV1,
                                  form.EditTrackV1, form.EditCommentV1})
        EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(form.cbGenreV1->currentIndex(), -1);
}

TEST_F(FieldEditing, SwapWithoutSelectionDoesNothing)
{
    open({{{}, v1("b")}});
    form.vtgrid->selectionModel()->clearSelection();
    showPage(form.TabSheetV1);
    form.EditTitleV1->setText("kept");
    form.miSwapClick();
    EXPECT_EQ(form.EditTitleV1->text(), "kept");
}

TEST_F(FieldEditing, CapitalizeUsesTheDictionaryWordsOnTitleArtistAndAlbum)
{
    form.DictionaryWords = "AC/DC;\"of the\"";
    showPage(form.TabSheetV2);
    form.EditArtistV2->setText("ac/dc");
    form.EditTitleV2->setText("back in black");
    form.EditAlbumV2->setText("who made who");
    form.EditYearV2->setText("year one");
    form.miCapitalizeFieldsClick();
    EXPECT_EQ(form.EditArtistV2->text(), "AC/DC");
    EXPECT_EQ(form.EditTitleV2->text(), "Back In Black");
    EXPECT_EQ(form.EditAlbumV2->text(), "Who Made Who");
    EXPECT_EQ(form.EditYearV2->text(), "year one");
}

TEST_F(FieldEditing, ClearAllEmptiesTheActivePageOnly)
{
    showPage(form.TabSheetV1);
    form.EditTitleV1->setText("x");
    form.cbGenreV1->setCurrentIndex(form.GenreIndexOf("Rock"));
    form.EditTitleV2->setText("kept");
    form.miClearAllTagsClick();
    EXPECT_EQ(form.EditTitleV1->text(), "");
    EXPECT_EQ(form.cbGenreV1->currentIndex(), 0);
    EXPECT_EQ(form.EditTitleV2->text(), "kept");

    showPage(form.TabSheetV2);
    fillV2(form);
    form.miClearAllTagsClick();
    EXPECT_EQ(form.cbGenreV2->currentText(), "");
    EXPECT_EQ(form.MemoCommentV2->toPlainText(), "");
    EXPECT_EQ(form.EditOrigArtistV2->text(), "");
}

TEST_F(FieldEditing, APasteIsCutToTheFieldsLimitAfterWhatItHolds)
{
    const struct {
        QLineEdit* field;
        QString held;
        int caret;
        QString pasted;
        QString expected;
    } cases[] = {
        {form.EditTitleV1, "", 0, QString(40, 'x'), QString(30, 'x')},
        {form.EditTitleV1, "ab", 1, QString(40, 'x'), "a" + QString(28, 'x') + "b"},
        {form.EditYearV1, "", 0, "2004-05-06", "2004"},
        {form.EditTitleV1, "", 0, aAndNotes(40), aAndNotes(29)},
        {form.EditTitleV1, "", 0, decomposed, composed},
        {form.EditTitleV1, "", 0, QString(29, 'x') + "q\u0303z", QString(29, 'x')},
    };
    for (const auto& c : cases) {
        c.field->setText(c.held);
        c.field->setCursorPosition(c.caret);
        QGuiApplication::clipboard()->setText(c.pasted);
        c.field->paste();
        EXPECT_EQ(c.field->text(), c.expected) << c.pasted.toStdString();
    }
}

TEST_F(FieldEditing, ADoubleClickSelectsTheWholeText)
{
    form.show();
    form.EditArtistV2->setText("several words here");
    QTest::mouseDClick(form.EditArtistV2, Qt::LeftButton);
    EXPECT_EQ(form.EditArtistV2->selectedText(), "several words here");
    form.MemoCommentV2->setPlainText("two\nlines");
    QTest::mouseDClick(form.MemoCommentV2->viewport(), Qt::LeftButton);
    EXPECT_EQ(form.MemoCommentV2->textCursor().selectedText(), QStringLiteral("two\u2029lines"));
}
