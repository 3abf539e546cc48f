#include "PeerReader.h"
#include "TagCommandsFixture.h"
#include "../tags/FakeDisk.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

namespace {

using fixtures::ID3v2TagBuilder;

class SaveTags : public TagCommandsTest {
protected:
    void setGenreV1(const QString& name) { form.cbGenreV1->setCurrentIndex(form.GenreIndexOf(name)); }

    QList<QToolButton*> locks() const
    {
        return {form.sbtnTitleV1, form.sbtnArtistV1, form.sbtnAlbumV1, form.sbtnCommentV1, form.sbtnTrackV1,
                form.sbtnYearV1, form.sbtnGenreV1, form.sbtnTitleV2, form.sbtnArtistV2, form.sbtnAlbumV2,
                form.sbtnCommentV2, form.sbtnTrackV2, form.sbtnYearV2, form.sbtnGenreV2, form.sbtnEncoderV2,
                form.sbtnUrlV2, form.sbtnComposerV2, form.sbtnOrigArtistV2};
    }

    bool anyLocked() const
    {
        for (const QToolButton* lock : locks()) {
            if (lock->isChecked())
                return true;
        }
        return false;
    }
};

QByteArray v2(const QString& title, const QString& artist = "Artist")
{
    return ID3v2TagBuilder(3).textFrame("TIT2", title).textFrame("TPE1", artist).padding(64).build();
}

}  // namespace

TEST_F(SaveTags, LockButtonsCarryTheirCaptionsAndHints)
{
    const QStringList captions = {"Title", "Artist", "Album", "Comment", "Track", "Year", "Genre", "Title", "Artist",
                                  "Album", "Comment", "Track", "Year", "Genre", "Encoder", "URL", "Composer",
                                  "Orig. Artist"};
    const QStringList fields = {"title", "artist", "album", "comment", "track", "year", "genre", "title", "artist",
                                "album", "comment", "track", "year", "genre", "software/hardware encoder", "URL",
                                "composer", "original artist"};
    const QList<QToolButton*> buttons = locks();
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->toolTip(), QStringLiteral("Use this %1 for all selected files").arg(fields[i]));
        EXPECT_TRUE(buttons[i]->isCheckable());
        EXPECT_FALSE(buttons[i]->isChecked());
    }
}

TEST_F(SaveTags, LockAllAndUnlockAllPressAndReleaseEveryLock)
{
    form.miLockAllClick();
    for (const QToolButton* lock : locks())
        EXPECT_TRUE(lock->isChecked());
    form.miUnlockAllClick();
    EXPECT_FALSE(anyLocked());
}

TEST_F(SaveTags, TrackAndYearOfTheId3v1PageHoldDigitsOnly)
{
    form.EditYearV1->setText("2004-05-06");
    EXPECT_EQ(form.EditYearV1->text(), "");
    form.EditTrackV1->setText("123");
    EXPECT_EQ(form.EditTrackV1->text(), "123");
    form.EditTrackV1->clear();
    QTest::keyClicks(form.EditTrackV1, "1");
    EXPECT_EQ(form.EditTrackV1->text(), "1");
    QTest::keyClicks(form.EditTrackV1, "a");
    EXPECT_EQ(form.EditTrackV1->text(), "");
}

TEST_F(SaveTags, SingleFileOnTheId3v1PageWritesEveryFieldByteByByte)
{
    const QStringList paths = open({{{}, {}}});
    const qint64 audioSize = readAll(paths[0]).size();
    showPage(form.TabSheetV1);
    selectRows({0});
    form.sbtnTitleV1->setChecked(true);   // a lock has no effect on one file
    form.EditTitleV1->setText("  Title ");
    form.EditArtistV1->setText("Artist");
    form.EditAlbumV1->setText("Album");
    form.EditYearV1->setText("2004");
    form.EditCommentV1->setText("Comment");
    form.EditTrackV1->setText("7");
    setGenreV1("Rock");
    form.miSaveClick();

    fixtures::ID3v1Fields expected;
    expected.title = "Title";
    expected.artist = "Artist";
    expected.album = "Album";
    expected.year = "2004";
    expected.comment = "Comment";
    expected.track = 7;
    expected.genre = 17;
    EXPECT_EQ(readAll(paths[0]).size(), audioSize + 128);
    EXPECT_EQ(lastBlock(paths[0]), fixtures::id3v1Block(expected));
    EXPECT_EQ(form.FileList[0]->ID3v1Kind, ID3v1_1);
    EXPECT_FALSE(anyLocked());
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(SaveTags, TrackTextDecidesBetweenVersion10And11)
{
    const QStringList paths = open({{{}, v1("t")}});
    showPage(form.TabSheetV1);
    const QList<QPair<QString, int>> cases = {{"", ID3v1_0}, {"0", ID3v1_0}, {"7", ID3v1_1}};
    for (const auto& [track, kind] : cases) {
        selectRows({0});
        form.EditTrackV1->setText(track);
        form.miSaveClick();
        EXPECT_EQ(lastBlock(paths[0]).at(126), track.toInt()) << track.toStdString();
        EXPECT_EQ(reread(paths[0]).ID3v1Kind, kind) << track.toStdString();
    }
}

TEST_F(SaveTags, TheEmptyGenreItemGivesGenreByte255)
{
    const QStringList paths = open({{{}, v1("t", "a", 1, 17)}});
    showPage(form.TabSheetV1);
    selectRows({0});
    form.cbGenreV1->setCurrentIndex(0);
    form.miSaveClick();
    EXPECT_EQ(quint8(lastBlock(paths[0]).at(127)), 255);
}

TEST_F(SaveTags, ATwentyNineCharacterCommentLeavesRoomForTheTrack)
{
    const QStringList paths = open({{{}, v1("t", "a", 0, 255, QByteArray(29, 'c'))}});
    showPage(form.TabSheetV1);
    selectRows({0});
    EXPECT_EQ(form.EditCommentV1->text(), QString(29, 'c'));
    form.EditTrackV1->setText("5");
    form.miSaveClick();
    EXPECT_EQ(lastBlock(paths[0]).mid(97, 30), QByteArray(28, 'c') + '\0' + '\x05');
    EXPECT_EQ(reread(paths[0]).ID3v1Kind, ID3v1_1);
}

TEST_F(SaveTags, GenreOnlyMultipleSaveChangesOnlyByte127)
{
    const QStringList paths = open({{v2("One"), v1("one", "a", 3, 1)}, {{}, v1("two", "b", 9, 255)}});
    const QByteArray before0 = readAll(paths[0]);
    const QByteArray before1 = readAll(paths[1]);
    showPage(form.TabSheetV1);
    selectRows({0, 1});
    form.EditTitleV1->setText("not saved");
    form.sbtnGenreV1->setChecked(true);
    setGenreV1("Rock");
    form.miSaveClick();

    QByteArray expected0 = before0;
    expected0[expected0.size() - 1] = 17;
    QByteArray expected1 = before1;
    expected1[expected1.size() - 1] = 17;
    EXPECT_EQ(readAll(paths[0]), expected0);
    EXPECT_EQ(readAll(paths[1]), expected1);
    EXPECT_FALSE(anyLocked());
}

TEST_F(SaveTags, ALockedThirtyCharacterTitleLeavesTheArtistIntact)
{
    const QStringList paths = open({{{}, v1("one", "First Artist")}, {{}, v1("two", "Second Artist", 4)}});
    const QByteArray before0 = lastBlock(paths[0]);
    const QByteArray before1 = lastBlock(paths[1]);
    showPage(form.TabSheetV1);
    selectRows({0, 1});
    form.sbtnTitleV1->setChecked(true);
    form.EditTitleV1->setText(QString(30, 'T'));
    form.miSaveClick();
    EXPECT_EQ(lastBlock(paths[0]), before0.left(3) + QByteArray(30, 'T') + before0.mid(33));
    EXPECT_EQ(lastBlock(paths[1]), before1.left(3) + QByteArray(30, 'T') + before1.mid(33));
}

TEST_F(SaveTags, MultipleSaveWithoutLocksGivesAFileWithoutTagAnEmptyOne)
{
    const QStringList paths = open({{{}, v1("one", "a", 3, 1)}, {{}, {}}});
    const QByteArray before0 = readAll(paths[0]);
    showPage(form.TabSheetV1);
    selectRows({0, 1});
    form.miSaveClick();
    EXPECT_EQ(readAll(paths[0]), before0);
    EXPECT_EQ(lastBlock(paths[1]), QByteArray("TAG") + QByteArray(124, '\0') + '\xff');
}

TEST_F(SaveTags, MultipleSaveOnTheId3v2PageGivesAFileWithoutTagANewVersion23Tag)
{
    const QStringList paths = open({{v2("One", "Own Artist"), {}}, {{}, {}}});
    showPage(form.TabSheetV2);
    selectRows({0, 1});
    form.sbtnAlbumV2->setChecked(true);
    form.EditAlbumV2->setText("Album");
    form.EditArtistV2->setText("not saved");
    form.miSaveClick();
    const TMpegFile first = reread(paths[0]);
    EXPECT_EQ(first.ID3v2.Title, "One");
    EXPECT_EQ(first.ID3v2.Artist, "Own Artist");
    EXPECT_EQ(first.ID3v2.Album, "Album");
    const TMpegFile second = reread(paths[1]);
    EXPECT_TRUE(second.HasID3v2);
    EXPECT_EQ(second.ID3v2.MajorVersion, 3);
    EXPECT_EQ(second.ID3v2.Album, "Album");
    EXPECT_EQ(second.ID3v2.Title, "");
}

TEST_F(SaveTags, SingleFileOnTheId3v2PageWritesEveryField)
{
    const QByteArray own = ID3v2TagBuilder(3)
                               .textFrame("TIT2", "Old Title")
                               .textFrame("TCOM", "Old Composer")
                               .urlFrame("", "http://old.invalid/")
                               .padding(64)
                               .build();
    const QStringList paths = open({{own, {}}});
    showPage(form.TabSheetV2);
    selectRows({0});
    form.EditTitleV2->setText("Title");
    form.EditArtistV2->setText("Artist");
    form.EditAlbumV2->setText("Album");
    form.EditYearV2->setText("2004");
    form.MemoCommentV2->setPlainText("Comment");
    form.EditTrackV2->setText("3/12");
    form.cbGenreV2->setCurrentText("Jazz");
    form.EditEncoderV2->setText("Encoder");
    form.EditUrlV2->setText("http://new.invalid/");
    form.EditComposerV2->setText("Composer");
    form.EditOrigArtistV2->setText("Orig Artist");
    form.miSaveClick();
    const TID3v2 tag = reread(paths[0]).ID3v2;
    EXPECT_EQ(tag.Title, "Title");
    EXPECT_EQ(tag.Artist, "Artist");
    EXPECT_EQ(tag.Album, "Album");
    EXPECT_EQ(tag.Year, "2004");
    EXPECT_EQ(tag.Comment, "Comment");
    EXPECT_EQ(tag.Track, "3/12");
    EXPECT_EQ(tag.Genre, "Jazz");
    EXPECT_EQ(tag.Encoder, "Encoder");
    EXPECT_EQ(tag.Url, "http://new.invalid/");
    EXPECT_EQ(tag.Composer, "Composer");
    EXPECT_EQ(tag.OrigArtist, "Orig Artist");
}

TEST_F(SaveTags, FieldsTheUserDidNotChangeKeepTheirStoredForm)
{
    const QByteArray own = ID3v2TagBuilder(4)
                               .textFrame("TIT2", "Song", 3)
                               .frame("TPE1", QByteArray("\3Artist A\0Artist B", 18))
                               .frame("TCON", QByteArray("\0(17)(6)Grunge", 14))
                               .frame("TCOM", QByteArray("\3One\0Two", 8))
                               .commentFrame("eng", "", QString::fromUtf8("a\r\nb\u00A0c\u2028d"), 1)
                               .padding(100)
                               .build();
    const QStringList paths = open({{own, {}}});
    const QStringList before = framesByPeer(paths[0]);
    showPage(form.TabSheetV2);
    selectRows({0});
    // A filled field shows the start of its text: the user adds to its end.
    QTest::keyClick(form.EditTitleV2, Qt::Key_End);
    QTest::keyClicks(form.EditTitleV2, " two");
    form.ToolBtnSave->click();

    EXPECT_EQ(reread(paths[0]).ID3v2.Title, "Song two");
    EXPECT_EQ(withoutFrames(framesByPeer(paths[0]), {"TIT2"}), withoutFrames(before, {"TIT2"}));
}

TEST_F(SaveTags, TextsOutsideLatin1RoundTripOnTheId3v2Page)
{
    const QStringList paths = open({{{}, {}}});
    showPage(form.TabSheetV2);
    selectRows({0});
    const QString title = QString::fromUtf8("Привет, мир");
    const QString artist = QString::fromUtf8("日本語のアーティスト");
    const QString comment = QString::fromUtf8("Ελληνικά\nzweite Zeile 🎵");
    const QString composer = QString::fromUtf8("Dvořák");
    form.EditTitleV2->setText(title);
    form.EditArtistV2->setText(artist);
    form.MemoCommentV2->setPlainText(comment);
    form.EditComposerV2->setText(composer);
    form.cbGenreV2->setCurrentText(QString::fromUtf8("Музыка"));
    form.miSaveClick();
    const TMpegFile file = reread(paths[0]);
    EXPECT_EQ(file.ID3v2.Title, title);
    EXPECT_EQ(file.ID3v2.Artist, artist);
    EXPECT_EQ(file.ID3v2.Comment, comment);
    EXPECT_EQ(file.ID3v2.Composer, composer);
    EXPECT_EQ(file.ID3v2.Genre, QString::fromUtf8("Музыка"));
}

TEST_F(SaveTags, TextsOutsideLatin1BecomeQuestionMarksOnTheId3v1PageAndStayInTheirField)
{
    const QStringList paths = open({{{}, v1("Old Title Long Enough", "Artist", 2)}, {{}, v1("x", "y", 3)}});
    const QByteArray before = lastBlock(paths[0]);
    showPage(form.TabSheetV1);
    selectRows({0, 1});
    form.sbtnTitleV1->setChecked(true);
    form.EditTitleV1->setText(QString::fromUtf8("Привет é"));
    form.miSaveClick();
    QByteArray expected = before;
    expected.replace(3, 9, QByteArray("?????? \xe9") + '\0');
    EXPECT_EQ(lastBlock(paths[0]), expected);
    EXPECT_EQ(reread(paths[0]).ID3v1.Title, QByteArray("?????? \xe9"));
}

TEST_F(SaveTags, AVersion22FileIsSkippedAndReportedOnceAfterTheLoop)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").padding(16).build();
    const QStringList paths = open({{v2("One"), {}}, {tag22, {}}, {tag22, {}}});
    const QByteArray before1 = readAll(paths[1]);
    const QByteArray before2 = readAll(paths[2]);
    form.OptionConvertV22 = false;
    showPage(form.TabSheetV2);
    selectRows({0, 1, 2});
    form.sbtnTitleV2->setChecked(true);
    form.EditTitleV2->setText("New");
    form.miSaveClick();
    EXPECT_EQ(reread(paths[0]).ID3v2.Title, "New");
    EXPECT_EQ(readAll(paths[1]), before1);
    EXPECT_EQ(readAll(paths[2]), before2);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0].text, "Modifying tags v2.2 is not supported. Remove the tag before saving.");
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(script.messages[0].buttons, ui::Buttons::Ok);
}

TEST_F(SaveTags, ConvertingAVersion22FileGivesANewTagWithTheLockedFieldsOnly)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").textFrame("TP1", "Old Artist").build();
    const QStringList paths = open({{v2("One"), {}}, {tag22, {}}});
    form.OptionConvertV22 = true;
    showPage(form.TabSheetV2);
    selectRows({0, 1});
    form.sbtnAlbumV2->setChecked(true);
    form.EditAlbumV2->setText("Album");
    form.miSaveClick();
    const TMpegFile converted = reread(paths[1]);
    EXPECT_EQ(converted.ID3v2.MajorVersion, 3);
    EXPECT_EQ(converted.ID3v2.Album, "Album");
    EXPECT_EQ(converted.ID3v2.Title, "");
    EXPECT_EQ(converted.ID3v2.Artist, "");
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(SaveTags, AVersion22TagThatCannotBeRemovedIsNotWrittenOver)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").padding(512).build();
    const QStringList paths = open({{v2("One"), {}}, {tag22, {}}});
    const QByteArray before = readAll(paths[1]);
    form.OptionConvertV22 = true;
    showPage(form.TabSheetV2);
    selectRows({0, 1});
    form.sbtnTitleV2->setChecked(true);
    form.EditTitleV2->setText("New");
    FakeDisk disk;
    disk.renameFails = true;   // the removal's copy never replaces the file
    form.miSaveClick();
    EXPECT_EQ(readAll(paths[1]), before);
    EXPECT_EQ(form.FileList[1]->ID3v2.MajorVersion, 2);
    EXPECT_EQ(script.texts(), QStringList{"Cannot remove tag v2 of '002.mp3'."});
    EXPECT_EQ(reread(paths[0]).ID3v2.Title, "New");
}

TEST_F(SaveTags, AFileWhoseWriteRaisesIsSkippedAndTheOthersAreSaved)
{
    const QStringList paths = open({{v2("one"), {}}, {v2("two"), {}}, {v2("three"), {}}});
    // A tag header cut short since the file was read: its reading raises.
    const QByteArray cut("ID3\x03\x00\x00", 6);
    dir.write(QFileInfo(paths[1]).fileName(), cut);
    showPage(form.TabSheetV2);
    selectRows({0, 1, 2});
    form.sbtnAlbumV2->setChecked(true);
    form.EditAlbumV2->setText("Saved");
    form.miSaveClick();
    EXPECT_EQ(reread(paths[0]).ID3v2.Album, "Saved");
    EXPECT_EQ(readAll(paths[1]), cut);
    EXPECT_TRUE(form.FileList[1]->HasID3v2);   // not read again
    EXPECT_EQ(reread(paths[2]).ID3v2.Album, "Saved");
    EXPECT_TRUE(script.messages.isEmpty());
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(SaveTags, AListReplacedDuringTheFirstWaitEndsTheSave)
{
    const QStringList paths = open({{{}, v1("one")}, {{}, v1("two")}, {{}, v1("three")}});
    QStringList others;
    for (const char* name : {"other/x.mp3", "other/y.mp3", "other/z.mp3"})
        others.append(writeAudio(dir, QString::fromLatin1(name), {}, v1("other")));
    const QByteArray before = readAll(paths[1]);
    QList<QByteArray> othersBefore;
    for (const QString& path : others)
        othersBefore.append(readAll(path));
    showPage(form.TabSheetV1);
    selectRows({0, 1, 2});
    form.sbtnAlbumV1->setChecked(true);
    form.EditAlbumV1->setText("Saved");
    // As the folder tree does when a change reaches it.
    QTimer::singleShot(0, [&] {
        form.FileList.clear();
        form.RebuildGrid();
        form.ClearFileInfo();
        form.OpenFiles(others, false);
    });
    form.miSaveClick();
    EXPECT_EQ(reread(paths[0]).ID3v1.Album, QByteArray("Saved"));
    EXPECT_EQ(readAll(paths[1]), before);
    for (int i = 0; i < others.size(); ++i)
        EXPECT_EQ(readAll(others[i]), othersBefore[i]) << i;
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(SaveTags, CancelAfterTheFirstOfThreeFilesSavesOnlyThatOne)
{
    const QStringList paths = open({{{}, v1("one")}, {{}, v1("two")}, {{}, v1("three")}});
    const QByteArray before1 = readAll(paths[1]);
    const QByteArray before2 = readAll(paths[2]);
    showPage(form.TabSheetV1);
    selectRows({0, 1, 2});
    form.sbtnAlbumV1->setChecked(true);
    form.EditAlbumV1->setText("Saved");
    cancelAtFirstWait();
    form.miSaveClick();
    EXPECT_EQ(reread(paths[0]).ID3v1.Album, QByteArray("Saved"));
    EXPECT_EQ(readAll(paths[1]), before1);
    EXPECT_EQ(readAll(paths[2]), before2);
    EXPECT_FALSE(anyLocked());
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(SaveTags, ASingleSaveMovesToTheNextRowExceptOnTheLast)
{
    open({{{}, v1("one")}, {{}, v1("two")}, {{}, v1("three")}});
    form.OptionSelectNextRow = true;
    showPage(form.TabSheetV1);
    selectRows({0});
    form.miSaveClick();
    EXPECT_EQ(form.gridSelectedRows(), QList<int>{1});
    EXPECT_EQ(form.gridFocusedRow(), 1);
    EXPECT_EQ(form.EditTitleV1->text(), "two");

    selectRows({2});
    form.miSaveClick();
    EXPECT_EQ(form.gridSelectedRows(), QList<int>{2});

    form.OptionSelectNextRow = false;
    selectRows({0});
    form.miSaveClick();
    EXPECT_EQ(form.gridSelectedRows(), QList<int>{0});
}

TEST_F(SaveTags, KeepTimestampPutsTheFileDateBack)
{
    const QStringList paths = open({{{}, v1("one")}, {{}, v1("two")}});
    const TFileDate old = 1'000'000'000'123'456'789LL;
    SetFileDate(paths[0], old);
    SetFileDate(paths[1], old);
    showPage(form.TabSheetV1);
    form.OptionKeepTimestamp = true;
    selectRows({0});
    form.EditTitleV1->setText("kept");
    form.miSaveClick();
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(paths[0], date));
    EXPECT_EQ(date, old);

    form.OptionKeepTimestamp = false;
    selectRows({1});
    form.miSaveClick();
    ASSERT_TRUE(GetFileDate(paths[1], date));
    EXPECT_NE(date, old);
}

TEST_F(SaveTags, AFileChangedByAnotherProgramIsNotSavedOverAndSavesAgainOnceRefreshed)
{
    const QStringList paths = open({{v2("One"), {}}});
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(paths[0], date));
    // Another program adds a frame into the padding and keeps the file's date.
    const QByteArray theirs = ID3v2TagBuilder(3).textFrame("TIT2", "One").textFrame("TPE1", "Artist")
                                  .textFrame("TPE2", "Band").padding(64 - 15).build();
    QByteArray changed = readAll(paths[0]);
    changed.replace(0, theirs.size(), theirs);
    dir.write(QFileInfo(paths[0]).fileName(), changed);
    ASSERT_TRUE(SetFileDate(paths[0], date));
    form.OptionKeepTimestamp = true;
    showPage(form.TabSheetV2);
    selectRows({0});
    form.EditTitleV2->setText("Mine");
    form.miSaveClick();
    EXPECT_EQ(readAll(paths[0]), changed);
    EXPECT_EQ(script.texts(), QStringList({"'001.mp3' changed since it was read; refresh it and save again."}));

    // The row was read again after the refusal, and again after each save and its restored date.
    for (const char* title : {"Mine", "Mine again"}) {
        script.messages.clear();
        selectRows({0});
        form.EditTitleV2->setText(title);
        form.miSaveClick();
        EXPECT_TRUE(script.messages.isEmpty()) << script.texts().join(' ').toStdString();
        const TID3v2 tag = reread(paths[0]).ID3v2;
        EXPECT_EQ(tag.Title, title);
        EXPECT_EQ(tag.Frames->size(), 3u);
        EXPECT_EQ(readAll(paths[0]).right(changed.size() - theirs.size()), changed.mid(theirs.size()));
    }
}

TEST_F(SaveTags, NothingSelectedSavesNothing)
{
    const QStringList paths = open({{{}, v1("one")}});
    const QByteArray before = readAll(paths[0]);
    form.vtgrid->selectionModel()->clearSelection();
    form.sbtnTitleV1->setChecked(true);
    form.miSaveClick();
    EXPECT_EQ(readAll(paths[0]), before);
}

TEST_F(SaveTags, TheProgressWindowNamesTheFileBeingSaved)
{
    open({{{}, v1("one")}});
    selectRows({0});
    recordMessageAtFirstWait();
    form.miSaveClick();
    EXPECT_EQ(progressMessage, "Saving tag of: 001.mp3");
}

TEST_F(SaveTags, FocusGridPutsTheFocusOnTheGridAfterTheSave)
{
    open({{{}, v1("one")}});
    form.show();
    QApplication::setActiveWindow(&form);
    selectRows({0});
    form.EditTitleV1->setFocus();
    ASSERT_EQ(form.focusWidget(), form.EditTitleV1);
    form.OptionFocusGrid = true;
    form.miSaveClick();
    EXPECT_EQ(form.focusWidget(), form.vtgrid);
}
