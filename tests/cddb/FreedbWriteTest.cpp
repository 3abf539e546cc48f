#include "AudioFixtures.h"
#include "FreedbDialogFixture.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

struct WrittenTags {
    TID3v2 v2;
    qint32 v1Kind = NoID3v1;
    TID3v1 v1;
};

WrittenTags tagsOf(const TMpegFile& file)
{
    WrittenTags tags;
    ReadID3v2(file.FileName, tags.v2);
    ReadID3v1(file.FileName, tags.v1Kind, tags.v1);
    return tags;
}

QStringList numberedTitles(int count)
{
    QStringList titles;
    for (int n = 1; n <= count; ++n)
        titles << QStringLiteral("Title %1").arg(n);
    return titles;
}

QList<QByteArray> plainFiles(int count)
{
    return QList<QByteArray>(count, audioFile());
}

}  // namespace

TEST_F(FreedbDialog, TenFilesAndTwelveTracksWithBothOptionsGiveTrack03Of12)
{
    openFiles(plainFiles(10));
    leadingZero = true;
    addTotalTracks = true;
    showForm();
    lookUpTitles(numberedTitles(12));
    ASSERT_EQ(columnOf(*form, 0).count("1"), 10);
    form->btnWriteTagsClick();

    const WrittenTags third = tagsOf(*files[2]);
    EXPECT_TRUE(third.v2.Present);
    EXPECT_EQ(third.v2.MajorVersion, 3);
    EXPECT_EQ(third.v2.Track, "03/12");
    EXPECT_EQ(third.v2.Title, "Title 3");
    EXPECT_EQ(third.v2.Artist, "Band");
    EXPECT_EQ(third.v2.Album, "Record");
    EXPECT_EQ(third.v2.Year, "2001");
    EXPECT_EQ(third.v2.Genre, "Rock");
    EXPECT_EQ(third.v1Kind, ID3v1_1);
    EXPECT_EQ(third.v1.track(), 3);
    EXPECT_EQ(id3v1Text(third.v1.Title, 30), "Title 3");
    EXPECT_EQ(third.v1.Genre, 17);
    EXPECT_EQ(tagsOf(*files[9]).v2.Track, "10/12");

    EXPECT_TRUE(progress.shown);
    EXPECT_EQ(progress.maximum, 10);
    EXPECT_EQ(progress.steps, 10);
    EXPECT_EQ(progress.messages.at(2), "Saving tag of: file03.mp3");
    EXPECT_TRUE(progress.closed);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(reloads, 1);
}

TEST_F(FreedbDialog, RowsTwoAndFiveCheckedWithThreeFilesLeaveTheThirdUntouched)
{
    openFiles(plainFiles(3));
    showForm();
    lookUpTitles(numberedTitles(6));
    form->sgTracksMouseUp(Qt::RightButton, 0, 0);
    form->sgTracksMouseUp(Qt::LeftButton, 2, 0);
    form->sgTracksMouseUp(Qt::LeftButton, 5, 0);
    const QByteArray thirdBefore = readAll(files[2]->FileName);
    form->btnWriteTagsClick();

    EXPECT_EQ(tagsOf(*files[0]).v2.Title, "Title 2");
    EXPECT_EQ(tagsOf(*files[0]).v2.Track, "2");
    EXPECT_EQ(tagsOf(*files[0]).v1.track(), 2);
    EXPECT_EQ(tagsOf(*files[1]).v2.Title, "Title 5");
    EXPECT_EQ(tagsOf(*files[1]).v1.track(), 5);
    EXPECT_EQ(readAll(files[2]->FileName), thirdBefore);
    EXPECT_EQ(progress.steps, 2);
    EXPECT_EQ(reloads, 1);
}

TEST_F(FreedbDialog, FileWithAVersion22TagGetsANewVersion23Tag)
{
    const QByteArray old = fixtures::ID3v2TagBuilder(2)
                               .textFrame("TT2", "Old title")
                               .textFrame("TCM", "Old composer")
                               .padding(32)
                               .build();
    openFiles({audioFile(old)});
    ASSERT_EQ(files[0]->ID3v2.Version, 2);
    showForm();
    lookUpTitles({"New title"});
    form->btnWriteTagsClick();

    const WrittenTags tags = tagsOf(*files[0]);
    EXPECT_EQ(tags.v2.MajorVersion, 3);
    EXPECT_EQ(tags.v2.Title, "New title");
    EXPECT_TRUE(tags.v2.Composer.isEmpty());
    EXPECT_FALSE(readAll(files[0]->FileName).contains("Old composer"));
}

TEST_F(FreedbDialog, Version22TagThatCannotBeRemovedLeavesItsFileAlone)
{
    openFiles({audioFile(fixtures::ID3v2TagBuilder(2).textFrame("TT2", "Old").padding(32).build())});
    const QByteArray theirs = audioFile(fixtures::ID3v2TagBuilder(2).textFrame("TT2", "Theirs").padding(32).build());
    dir.write(QStringLiteral("file01.mp3"), theirs);
    showForm();
    lookUpTitles({"New title"});
    form->btnWriteTagsClick();

    EXPECT_EQ(readAll(files[0]->FileName), theirs);
    EXPECT_EQ(userInterface.texts(), QStringList({"'file01.mp3' changed since it was read; refresh it and remove the tag again."}));
}

TEST_F(FreedbDialog, TitleNamingItsArtistSetsThatArtist)
{
    openFiles(plainFiles(2));
    showForm();
    lookUpTitles({"Artist A / Song", "Plain"});
    form->btnWriteTagsClick();

    const WrittenTags first = tagsOf(*files[0]);
    EXPECT_EQ(first.v2.Artist, "Artist A");
    EXPECT_EQ(first.v2.Title, "Song");
    EXPECT_EQ(id3v1Text(first.v1.Artist, 30), "Artist A");
    EXPECT_EQ(id3v1Text(first.v1.Title, 30), "Song");
    EXPECT_EQ(tagsOf(*files[1]).v2.Artist, "Band");
}

TEST_F(FreedbDialog, EditedFieldsAreWrittenAndAnUnknownGenreOnlyIntoID3v2)
{
    openFiles(plainFiles(1));
    showForm();
    lookUpTitles({"Song"});
    form->editAlbum->setText("Edited album");
    form->editGenre->setText("Space Polka");
    form->btnWriteTagsClick();

    const WrittenTags tags = tagsOf(*files[0]);
    EXPECT_EQ(tags.v2.Album, "Edited album");
    EXPECT_EQ(tags.v2.Genre, "Space Polka");
    EXPECT_EQ(id3v1Text(tags.v1.Album, 30), "Edited album");
    EXPECT_EQ(tags.v1.Genre, 255);
}

TEST_F(FreedbDialog, ExistingTagsKeepTheirOtherFields)
{
    const QByteArray v2 = fixtures::ID3v2TagBuilder(3)
                              .textFrame("TIT2", "Old")
                              .textFrame("TCOM", "Composer")
                              .padding(64)
                              .build();
    fixtures::ID3v1Fields v1;
    v1.title = "Old";
    v1.comment = "Kept comment";
    openFiles({audioFile(v2, fixtures::id3v1Block(v1))});
    showForm();
    lookUpTitles({"Song"});
    form->btnWriteTagsClick();

    const WrittenTags tags = tagsOf(*files[0]);
    EXPECT_EQ(tags.v2.Title, "Song");
    EXPECT_EQ(tags.v2.Composer, "Composer");
    EXPECT_EQ(id3v1Text(tags.v1.Comment, 28), "Kept comment");
    EXPECT_EQ(tags.v1.track(), 1);
}

TEST_F(FreedbDialog, ID3v1AloneLeavesTheFileWithoutID3v2)
{
    openFiles(plainFiles(1));
    showForm();
    lookUpTitles({"Song"});
    form->rdV1->setChecked(true);
    form->btnWriteTagsClick();

    const WrittenTags tags = tagsOf(*files[0]);
    EXPECT_FALSE(tags.v2.Present);
    EXPECT_EQ(id3v1Text(tags.v1.Title, 30), "Song");
}

TEST_F(FreedbDialog, CancelLeavesTheLaterFilesUntouchedAndStillCloses)
{
    openFiles(plainFiles(3));
    showForm();
    lookUpTitles(numberedTitles(3));
    progress.cancelAfterSteps = 1;
    const QByteArray secondBefore = readAll(files[1]->FileName);
    form->btnWriteTagsClick();

    EXPECT_EQ(tagsOf(*files[0]).v2.Title, "Title 1");
    EXPECT_EQ(readAll(files[1]->FileName), secondBefore);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(reloads, 1);
}

TEST_F(FreedbDialog, PlayerIsStoppedBeforeEachFileIsWritten)
{
    openFiles(plainFiles(2));
    showForm();
    lookUpTitles({"A", "B"});
    form->btnWriteTagsClick();
    EXPECT_EQ(stoppedFor, QStringList({files[0]->FileName, files[1]->FileName}));
}

TEST_F(FreedbDialog, FileWithoutID3v1GetsOneWithAnEmptyComment)
{
    openFiles(plainFiles(1));
    showForm();
    lookUpTitles({"Song"});
    form->btnWriteTagsClick();

    const WrittenTags tags = tagsOf(*files[0]);
    EXPECT_EQ(tags.v1Kind, ID3v1_1);
    EXPECT_EQ(QByteArray(tags.v1.Comment, 30), QByteArray(29, '\0') + '\x01');
}

TEST_F(FreedbDialog, FileWhoseWriteFailsIsSkippedQuietlyAndTheNextStillWritten)
{
    openFiles({audioFile(), audioFile()});
    // A tag header cut short since the file was read: its reading raises.
    const QByteArray cut("ID3\x03\x00\x00", 6);
    dir.write(QFileInfo(files[0]->FileName).fileName(), cut);
    showForm();
    lookUpTitles({"A", "B"});
    form->rdV2->setChecked(true);
    form->btnWriteTagsClick();

    EXPECT_EQ(readAll(files[0]->FileName), cut);
    EXPECT_EQ(tagsOf(*files[1]).v2.Title, "B");
    EXPECT_EQ(progress.steps, 2);
    EXPECT_TRUE(userInterface.messages.isEmpty());
    EXPECT_EQ(reloads, 1);
}

TEST_F(FreedbDialog, FilesTheMainWindowDroppedMeanwhileAreStillWrittenAsLookedUp)
{
    openFiles(plainFiles(2));
    showForm();
    lookUpTitles({"A", "B"});
    const QStringList names{files[0]->FileName, files[1]->FileName};
    // A folder chosen in the tree just before the dialog opened replaces the main window's list.
    files.clear();
    form->btnWriteTagsClick();

    for (int i = 0; i < 2; ++i) {
        TID3v2 tag;
        ReadID3v2(names[i], tag);
        EXPECT_EQ(tag.Title, QStringList({"A", "B"}).at(i));
    }
}
