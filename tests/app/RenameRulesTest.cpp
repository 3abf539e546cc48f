#include "RenameRules.h"

#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

TMpegFile fileWithID3v1(const char* artist, const char* title, quint8 trackByte)
{
    TMpegFile file;
    file.HasID3v1 = true;
    file.ID3v1Kind = ID3v1_1;
    std::memcpy(file.ID3v1.Identifier, "TAG", 3);
    std::strncpy(file.ID3v1.Artist, artist, 30);
    std::strncpy(file.ID3v1.Title, title, 30);
    file.ID3v1.setTrack(trackByte);
    return file;
}

TMpegFile fileWithID3v2(const QString& artist, const QString& title, const QString& track)
{
    TMpegFile file;
    file.HasID3v2 = true;
    file.ID3v2.Present = true;
    file.ID3v2.Artist = artist;
    file.ID3v2.Title = title;
    file.ID3v2.Track = track;
    return file;
}

RenameSettings preset(const QString& name, const QString& renameCase = QStringLiteral("0"))
{
    RenameSettings settings;
    settings.renameFormat = name;
    settings.renameCase = renameCase;
    return settings;
}

QString nameOf(const RenameFields& fields, const RenameSettings& settings, const QString& format = {},
               const QString& bitrate = QStringLiteral("128"))
{
    return buildRenameName(format, fields, bitrate, DictionaryWordList(settings.dictionaryWords), settings);
}

}  // namespace

TEST(RenameRules, ID3v1BlockGivesTrackArtistTitleInTitleCase)
{
    const auto fields = renameFieldsFromID3v1(fileWithID3v1("abba", "waterloo", 5));
    ASSERT_TRUE(fields);
    const QString name = nameOf(*fields, preset("rdTrackArtistTitle"));
    EXPECT_EQ(renamedFileName("/music/old name.mp3", name), "05 - Abba - Waterloo.mp3");
}

TEST(RenameRules, ID3v1TrackIsByte126WhateverTheKind)
{
    TMpegFile zero = fileWithID3v1("a", "t", 0);
    EXPECT_EQ(nameOf(*renameFieldsFromID3v1(zero), preset("rdTrackArtistTitle")), "00 - A - T");

    TMpegFile comment = fileWithID3v1("a", "t", 'e');
    comment.ID3v1Kind = ID3v1_0;
    EXPECT_EQ(renameFieldsFromID3v1(comment)->track, "101");
}

TEST(RenameRules, ID3v1FieldsEndAtTheirFirstZeroAndAreTrimmed)
{
    TMpegFile file = fileWithID3v1("  abba  ", "x", 1);
    std::memcpy(file.ID3v1.Title, "song\0hidden", 11);
    const auto fields = renameFieldsFromID3v1(file);
    EXPECT_EQ(fields->artist, "abba");
    EXPECT_EQ(fields->title, "song");
}

TEST(RenameRules, FileWithoutTheActiveTagIsSkipped)
{
    TMpegFile noBlock = fileWithID3v1("a", "t", 1);
    noBlock.HasID3v1 = false;
    EXPECT_FALSE(renameFieldsFromID3v1(noBlock));

    TMpegFile badBlock = fileWithID3v1("a", "t", 1);
    std::memcpy(badBlock.ID3v1.Identifier, "TAX", 3);
    EXPECT_FALSE(renameFieldsFromID3v1(badBlock));

    TMpegFile notPresent = fileWithID3v2("a", "t", "1");
    notPresent.ID3v2.Present = false;
    EXPECT_FALSE(renameFieldsFromID3v2(notPresent));
}

TEST(RenameRules, ID3v2TrackIsCutBeforeTheSlashAndGetsALeadingZero)
{
    const auto fields = renameFieldsFromID3v2(fileWithID3v2(" abba ", "waterloo", "3/12"));
    EXPECT_EQ(fields->track, "3");
    EXPECT_EQ(nameOf(*fields, preset("rdArtistTrackTitle")), "Abba - 03 - Waterloo");
}

TEST(RenameRules, EmptyFieldsGiveTheirDefaults)
{
    EXPECT_EQ(nameOf(RenameFields{}, preset("rdArtistAlbumTrackTitle")), "Artist - Album - 00 - Title");
}

TEST(RenameRules, EveryPresetHasItsLayout)
{
    const RenameFields fields{"abba", "arrival", "waterloo", "7"};
    const struct {
        const char* preset;
        const char* name;
    } cases[] = {
        {"rdTrackArtistTitle", "07 - Abba - Waterloo"},
        {"rdArtistTrackTitle", "Abba - 07 - Waterloo"},
        {"rdArtistAlbumTitle", "Abba - Arrival - Waterloo"},
        {"rdArtistAlbumTrackTitle", "Abba - Arrival - 07 - Waterloo"},
        {"rdArtistTitle", "Abba - Waterloo"},
        {"rdArtistTitleBitrate", "Abba - Waterloo (128)"},
        {"rdSomethingElse", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameOf(fields, preset(c.preset)), c.name) << c.preset;
}

TEST(RenameRules, CaseModesApplyToArtistAlbumAndTitleOnly)
{
    const RenameFields fields{"hELLO wORLD", "x", "ÉTÉ in PARIS", "1a"};
    const struct {
        const char* renameCase;
        const char* name;
    } cases[] = {
        {"0", "1a - Hello World - Été In Paris"},
        {"1", "1a - hello world - été in paris"},
        {"2", "1a - HELLO WORLD - ÉTÉ IN PARIS"},
        {"3", "1a - Hello world - Été in paris"},
        {"4", "1a - hELLO wORLD - ÉTÉ in PARIS"},
        {"9", "1a - hELLO wORLD - ÉTÉ in PARIS"},
        {"x", "1a - hELLO wORLD - ÉTÉ in PARIS"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameOf(fields, preset("rdTrackArtistTitle", c.renameCase)), QString::fromUtf8(c.name)) << c.renameCase;
}

TEST(RenameRules, SentenceCaseRaisesOnlyAnAsciiFirstLetter)
{
    EXPECT_EQ(nameOf({"abba ABBA", "", "élan", ""}, preset("rdArtistTitle", "3")), QString::fromUtf8("Abba abba - élan"));
}

TEST(RenameRules, DictionaryWordsApplyWhateverTheCase)
{
    RenameSettings settings = preset("rdArtistTitle", "0");
    settings.dictionaryWords = "DJ;feat.";
    EXPECT_EQ(nameOf({"dj shadow feat. x", "", "", ""}, settings), "DJ Shadow feat. X - Title");
    settings.renameCase = "2";
    settings.dictionaryWords = "mix";
    EXPECT_EQ(nameOf({"the remix mix", "", "", ""}, settings), "THE REMIX mix - TITLE");
}

TEST(RenameRules, InvalidCharactersAreReplacedByTheSetting)
{
    RenameSettings settings = preset("rdTrackArtistTitle", "4");
    EXPECT_EQ(nameOf({"a", "", "AC/DC: Live?", "1"}, settings), "01 - a - AC-DC- Live-");

    settings.renameFormat = "rdOther";
    settings.renameFormatUser = "\\/:*?\"<>|#TITLE#";
    settings.invalidChar = "[]";
    EXPECT_EQ(nameOf({"", "", "t", ""}, settings), "[][][][][][][][][]t");
    settings.invalidChar = "";
    EXPECT_EQ(nameOf({"", "", "a|b", ""}, settings), "ab");
}

TEST(RenameRules, CharactersBeyondTheNineInvalidOnesStay)
{
    RenameSettings settings = preset("rdOther", "4");
    settings.renameFormatUser = QString::fromUtf8("#TITLE#\t~ü%&");
    EXPECT_EQ(nameOf({"", "", "x", ""}, settings), QString::fromUtf8("x\t~ü%&"));
}

TEST(RenameRules, ReplaceSpaceTurnsBlanksIntoUnderscores)
{
    RenameSettings settings = preset("rdArtistTitle");
    settings.replaceSpace = true;
    EXPECT_EQ(nameOf({"abba", "", "waterloo", ""}, settings), "Abba_-_Waterloo");
}

TEST(RenameRules, UserFormatReplacesEveryPlaceholderEverywhere)
{
    const RenameSettings settings = preset("rdArtistTitle");
    EXPECT_EQ(nameOf({"abba", "", "x", "2"}, settings, "#TRACK#. #ARTIST# #ARTIST#"), "02. Abba Abba");
    EXPECT_EQ(nameOf({}, settings, "#BITRATE#"), "128");
    EXPECT_EQ(nameOf({}, settings, "#artist#"), "#artist#");
}

TEST(RenameRules, ValuesHoldingPlaceholdersFollowTheReplacementOrder)
{
    const RenameSettings settings = preset("rdArtistTitle", "4");
    EXPECT_EQ(nameOf({"#TITLE#", "", "song", ""}, settings, "#ARTIST#"), "song");
    EXPECT_EQ(nameOf({"a", "", "#ARTIST#", ""}, settings, "#TITLE#"), "#ARTIST#");
}

TEST(RenameRules, OtherWithAnEmptyUserFormatGivesNoName)
{
    RenameSettings settings = preset("rdOther");
    EXPECT_EQ(nameOf({"abba", "", "waterloo", ""}, settings), "");
    settings.renameFormatUser = "#ARTIST#";
    EXPECT_EQ(nameOf({"abba", "", "waterloo", ""}, settings), "Abba");
}

TEST(RenameRules, TheOldExtensionIsKeptAsWritten)
{
    EXPECT_EQ(renamedFileName("/a.b/song.Mp3", "new"), "new.Mp3");
    EXPECT_EQ(renamedFileName("/a.b/song", "new"), "new");
}

TEST(RenameInFolder, NeverReplacesAnExistingFile)
{
    TempDir dir;
    dir.write("a.mp3", "first");
    dir.write("b.mp3", "second");
    EXPECT_FALSE(renameInFolder(dir.path(), "a.mp3", "b.mp3"));
    EXPECT_EQ(readAll(dir.filePath("a.mp3")), "first");
    EXPECT_EQ(readAll(dir.filePath("b.mp3")), "second");
}

TEST(RenameInFolder, NameTakenByTheFileItselfIsNoObstacle)
{
    // A second name of the same file stands in for a new spelling on a file system that
    // ignores letter case.
    TempDir dir;
    dir.write("a.mp3", "first");
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("a.mp3")).constData(),
                     QFile::encodeName(dir.filePath("A.mp3")).constData()), 0);
    EXPECT_TRUE(renameInFolder(dir.path(), "a.mp3", "A.mp3"));
    EXPECT_EQ(readAll(dir.filePath("A.mp3")), "first");
}

TEST(RenameInFolder, RenamesToAFreeName)
{
    TempDir dir;
    dir.write("a.mp3", "first");
    EXPECT_TRUE(renameInFolder(dir.path(), "a.mp3", "c.mp3"));
    EXPECT_FALSE(QFile::exists(dir.filePath("a.mp3")));
    EXPECT_EQ(readAll(dir.filePath("c.mp3")), "first");
}

TEST(RenameInFolder, OwnNameSucceedsOnlyForAnExistingFile)
{
    TempDir dir;
    dir.write("a.mp3", "first");
    EXPECT_TRUE(renameInFolder(dir.path(), "a.mp3", "a.mp3"));
    EXPECT_EQ(readAll(dir.filePath("a.mp3")), "first");
    EXPECT_FALSE(renameInFolder(dir.path(), "gone.mp3", "gone.mp3"));
}

TEST(RenameInFolder, RefusesNamesThatLeaveTheFolder)
{
    TempDir dir;
    dir.write("a.mp3", "first");
    QDir(dir.path()).mkdir("sub");
    const QString names[] = {"sub/a.mp3", "..", QString::fromLatin1("x\0y", 3), QString()};
    for (const QString& name : names)
        EXPECT_FALSE(renameInFolder(dir.path(), "a.mp3", name)) << name.toStdString();
    EXPECT_EQ(readAll(dir.filePath("a.mp3")), "first");
    EXPECT_FALSE(QFile::exists(dir.filePath("x")));
}

TEST(RenameFiles, RenamesEachFileAndFollowsItsNewPath)
{
    ScriptedUserInterface script;
    TempDir dir;
    TMpegFile abba = fileWithID3v1("abba", "waterloo", 5);
    abba.FileName = dir.write("one.mp3", "abba");
    TMpegFile untagged;
    untagged.FileName = dir.write("two.mp3", "none");

    for (TMpegFile* file : {&abba, &untagged})
        renameFile(*file, RenameTagVersion::ID3v1, {}, preset("rdTrackArtistTitle"));
    EXPECT_EQ(abba.FileName, dir.filePath("05 - Abba - Waterloo.mp3"));
    EXPECT_EQ(readAll(abba.FileName), "abba");
    EXPECT_EQ(untagged.FileName, dir.filePath("two.mp3"));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST(RenameFiles, AFormatWithoutPlaceholdersRenamesOnlyTheFirstFile)
{
    ScriptedUserInterface script;
    TempDir dir;
    TMpegFile files[3] = {fileWithID3v2("a", "1", "1"), fileWithID3v2("b", "2", "2"), fileWithID3v2("c", "3", "3")};
    const char* names[3] = {"x.mp3", "y.mp3", "z.mp3"};
    for (int i = 0; i < 3; ++i)
        files[i].FileName = dir.write(names[i], names[i]);

    for (TMpegFile& file : files)
        renameFile(file, RenameTagVersion::ID3v2, "same", preset("rdArtistTitle"));
    EXPECT_EQ(files[0].FileName, dir.filePath("same.mp3"));
    EXPECT_EQ(files[1].FileName, dir.filePath("y.mp3"));
    EXPECT_EQ(files[2].FileName, dir.filePath("z.mp3"));
    EXPECT_EQ(readAll(dir.filePath("same.mp3")), "x.mp3");
    EXPECT_EQ(readAll(dir.filePath("y.mp3")), "y.mp3");
    EXPECT_EQ(readAll(dir.filePath("z.mp3")), "z.mp3");
    ASSERT_EQ(script.messages.size(), 2);
    EXPECT_EQ(script.messages[0].text, "Cannot rename 'y.mp3' to 'same.mp3'.");
    EXPECT_EQ(script.messages[1].text, "Cannot rename 'z.mp3' to 'same.mp3'.");
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
}

TEST(RenameFiles, RenamingAFileToItsOwnNameSaysNothing)
{
    ScriptedUserInterface script;
    TempDir dir;
    TMpegFile file = fileWithID3v2("abba", "waterloo", "");
    file.FileName = dir.write("Abba - Waterloo.mp3", "x");
    renameFile(file, RenameTagVersion::ID3v2, {}, preset("rdArtistTitle"));
    EXPECT_EQ(file.FileName, dir.filePath("Abba - Waterloo.mp3"));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST(RenameFiles, AReplacementHoldingASlashCannotMoveTheFile)
{
    ScriptedUserInterface script;
    TempDir dir;
    QDir(dir.path()).mkdir("AC");
    TMpegFile file = fileWithID3v2("AC:DC", "", "");
    file.FileName = dir.write("x.mp3", "x");
    RenameSettings settings = preset("rdOther", "4");
    settings.renameFormatUser = "#ARTIST#";
    settings.invalidChar = "/";
    renameFile(file, RenameTagVersion::ID3v2, {}, settings);
    EXPECT_EQ(file.FileName, dir.filePath("x.mp3"));
    EXPECT_FALSE(QFile::exists(dir.filePath("AC/DC.mp3")));
    EXPECT_EQ(script.texts(), QStringList{"Cannot rename 'x.mp3' to 'AC/DC.mp3'."});
}

TEST(RenameFiles, BitrateIsReadFromTheFileAndEmptyWhenItCannotBeRead)
{
    ScriptedUserInterface script;
    TempDir dir;
    TMpegFile audio = fileWithID3v2("abba", "waterloo", "");
    audio.FileName = dir.write("one.mp3", fixtures::mpegFrames({}, 10));
    // Cut short since it was opened: reading its tag now raises.
    TMpegFile damaged = fileWithID3v2("abba", "fernando", "");
    damaged.FileName = dir.write("two.mp3", QByteArray("ID3\x03\x00\x00", 6));
    TMpegFile last = fileWithID3v2("abba", "sos", "");
    last.FileName = dir.write("three.mp3", "no audio");

    for (TMpegFile* file : {&audio, &damaged, &last})
        renameFile(*file, RenameTagVersion::ID3v2, {}, preset("rdArtistTitleBitrate"));
    EXPECT_EQ(audio.FileName, dir.filePath("Abba - Waterloo (128).mp3"));
    EXPECT_EQ(damaged.FileName, dir.filePath("Abba - Fernando ().mp3"));
    EXPECT_EQ(last.FileName, dir.filePath("Abba - Sos ().mp3"));
}

TEST(RenameFiles, ARenamedFileStaysGuardedAgainstOtherProgramsChanges)
{
    const QByteArray audio = fixtures::mpegFrames({}, 4);
    const QByteArray ours = fixtures::ID3v2TagBuilder(3).textFrame("TPE1", "Abba").textFrame("TIT2", "Waterloo").padding(64).build() + audio;
    const QByteArray theirs = fixtures::ID3v2TagBuilder(3).textFrame("TPE1", "ABBA").textFrame("TALB", "Theirs").padding(64).build() + audio;
    for (const bool beforeRename : {false, true}) {
        SCOPED_TRACE(beforeRename ? "changed before the rename" : "changed after the rename and a save");
        ScriptedUserInterface script;
        TempDir dir;
        TMpegFile file;
        ASSERT_TRUE(file.ReadFromFile(dir.write("x.mp3", ours)));
        if (beforeRename)
            dir.write("x.mp3", theirs);
        renameFile(file, RenameTagVersion::ID3v2, {}, preset("rdArtistTitle"));
        ASSERT_EQ(file.FileName, dir.filePath("Abba - Waterloo.mp3"));
        TID3v2 tag = file.ID3v2;
        if (!beforeRename) {
            tag.Album = QStringLiteral("Album");
            ASSERT_TRUE(WriteID3v2(tag, file.FileName));
            dir.write("Abba - Waterloo.mp3", theirs);
        }
        tag.Album = QStringLiteral("Mine");

        EXPECT_FALSE(WriteID3v2(tag, file.FileName));
        EXPECT_EQ(readAll(file.FileName), theirs);
        EXPECT_EQ(script.texts(), QStringList({"'Abba - Waterloo.mp3' changed since it was read; refresh it and save again."}));
    }
}
