#include "GridText.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsWriter.h"
#include "TempDir.h"
#include "UnitBrowseFolder.h"
#include "UnitOptions.h"
#include "UnitRenamingFormats.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Records every value written, as "name=value", and can refuse the key or one value.
class RecordingWriter : public SettingsWriter {
public:
    bool open() override
    {
        ++openings;
        return opens;
    }
    std::optional<QString> close() override { ++closings; return std::nullopt; }
    bool writeBool(const QString& name, bool value) override { return record(name, value ? "B1" : "B0"); }
    bool writeInteger(const QString& name, qint32 value) override { return record(name, "I" + QString::number(value)); }
    bool writeString(const QString& name, const QString& value) override { return record(name, "S" + value); }

    QStringList names() const
    {
        QStringList result;
        for (const QString& entry : written)
            result += entry.section('=', 0, 0);
        return result;
    }
    QString value(const QString& name) const
    {
        for (const QString& entry : written) {
            if (entry.section('=', 0, 0) == name)
                return entry.section('=', 1);
        }
        return "(not written)";
    }

    bool opens = true;
    QString failAt;
    QStringList written;
    int openings = 0;
    int closings = 0;

private:
    bool record(const QString& name, const QString& value)
    {
        if (name == failAt)
            return false;
        written += name + "=" + value;
        return true;
    }
};

// The system's window colour, the default of the grid colours.
constexpr qint32 ColorWindow = qint32(0xFF000005);

TMainSettings typicalSettings()
{
    TMainSettings s;
    s.OptionRememberSize = true;
    s.OptionSelectNextRow = true;
    s.OptionFocusGrid = true;
    s.OptionLeadingZero = true;
    s.OptionAddTotalTracks = true;
    s.OptionConvertV22 = true;
    s.OptionLoadFilesStartup = true;
    s.OptionGuessTag = true;
    s.OptionInvalidChar = "-";
    s.GuessFormat = "#ARTIST# - #TITLE#";
    s.GuessFormat1 = "#ARTIST# - #TITLE#";
    s.OptionGeneratePlaylist = true;
    s.OptionInvalidCharPlaylist = "_";
    s.PlaylistFormat = "#ARTIST# - #ALBUM#";
    s.PlaylistFormat1 = "#ARTIST# - #ALBUM#";
    s.RenameCase = "2";
    s.RenameFormat = "rdArtistAlbumTitle";
    s.RenameFormatUser = "#TRACK# #TITLE#";
    s.RenameFormats = {"#ARTIST#", "#TRACK# #TITLE#"};
    s.RenameFormat1 = "#ARTIST#";
    s.RenameFormat2 = "#TRACK# #TITLE#";
    s.DefaultFolderOpen = "/music/";
    s.DefaultFolderPlaylist = "/lists/";
    s.DefaultFolderEnc = "/enc/";
    s.DefaultFolderDec = "/dec/";
    s.FreedbServer = "cddb.example.org";
    s.FreedbPort = "8880";
    s.DictionaryWords = "feat.;DJ";
    s.ColorNoTag = ColorWindow;
    s.ColorV1 = qint32(0xFF102030);
    s.ColorV2 = ColorWindow;
    s.ColorV1V2 = qint32(0xFFABCDEF);
    return s;
}

class OptionsDialog : public ::testing::Test {
protected:
    // Runs the whole round trip; inside() acts on the shown dialog before OK or Cancel.
    OptionsOutcome run(const std::function<void()>& inside = {}, bool ok = true)
    {
        QTimer::singleShot(0, &dialog, [&] {
            shown = dialog.isVisible();
            if (inside)
                inside();
            (ok ? dialog.btnOk : dialog.btnCancel)->click();
        });
        return dialog.Execute(settings, writer, [&](bool full) {
            layoutSwitches += full;
            writtenBeforeSwitch = writer.written.size();
        });
    }

    ScriptedUserInterface script;
    TFormOptions dialog;
    TFormRenamingFormats renamingFormats;
    TMainSettings settings = typicalSettings();
    RecordingWriter writer;
    QList<bool> layoutSwitches;
    qsizetype writtenBeforeSwitch = -1;
    bool shown = false;
};

const QStringList theFortyFourValues = {
    "Option Remember Size", "Option Remember Position", "Option Remember Cols Width", "Option Sort After Open",
    "Option Select Next Row", "Option Focus Grid", "Option Add Total Tracks", "Option Leading Zero",
    "Option Convert V22", "Option Explorer Full", "Option Keep Timestamp", "Option Load Files Startup",
    "Option Guess Tag", "Rename Case", "Rename Format", "Rename Format User", "Rename Replace Space",
    "Guess Format", "Guess Format1", "Guess Format2", "Guess Format3", "Guess Format4", "Guess Format5",
    "Option Invalid Char", "Option Generate Playlist", "Playlist Format", "Playlist Format1", "Playlist Format2",
    "Playlist Format3", "Playlist Format4", "Playlist Format5", "Option Invalid Char Playlist",
    "Default Folder Open", "Default Folder Playlist", "Default Folder Enc", "Default Folder Dec",
    "Freedb Server", "Freedb Port", "Dictionary Words", "Use Grid Colors", "Color No Tag", "Color V1",
    "Color V2", "Color V1 V2"};

}  // namespace

TEST_F(OptionsDialog, HasItsCaptionPagesAndButtons)
{
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_GE(dialog.width(), 365);
    EXPECT_GE(dialog.height(), 326);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    QStringList pages;
    for (int i = 0; i < dialog.PageControlOptions->count(); ++i)
        pages += dialog.PageControlOptions->tabText(i);
    EXPECT_EQ(pages, QStringList({"General", "Rename", "File Names", "Playlists", "Folders", "Freedb", "Colors", "Dictionary"}));
    EXPECT_TRUE(dialog.btnOk->isDefault());
    EXPECT_EQ(dialog.cbAddTotalTracks->text(), "Add total number of tracks for V2 tags, i.e. \"/total\"");
    EXPECT_EQ(dialog.cbLoadFilesAtStartup->toolTip(), "When unchecked, files in the default folder won't load when starting Corvane");
    EXPECT_EQ(dialog.rgCaseItems->button(0)->text(), "Title  (This Is Title Case)");
    EXPECT_EQ(dialog.rgCaseItems->button(4)->text(), "Don't change");
    EXPECT_TRUE(dialog.rdTrackArtistTitle->isChecked());
    EXPECT_EQ(dialog.sbtnBrowseDec->toolTip(), "Browse folders");
    EXPECT_FALSE(dialog.CheckBox7->isEnabled());
    EXPECT_TRUE(dialog.CheckBox7->isChecked() && dialog.CheckBox8->isChecked());
    EXPECT_FALSE(dialog.CheckBox1->isChecked() || dialog.CheckBox2->isChecked());
}

TEST_F(OptionsDialog, EveryCheckBoxAndRadioButtonShowsItsCaptionWhole)
{
    dialog.show();
    for (int page = 0; page < dialog.PageControlOptions->count(); ++page) {
        dialog.PageControlOptions->setCurrentIndex(page);
        QApplication::processEvents();
        for (const QAbstractButton* button : dialog.PageControlOptions->widget(page)->findChildren<QAbstractButton*>()) {
            if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button)) {
                EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
            }
        }
    }
}

TEST_F(OptionsDialog, EveryPageTabIsInSightAtOnce)
{
    dialog.show();
    const QTabBar* tabs = dialog.PageControlOptions->tabBar();
    EXPECT_GE(tabs->width(), tabs->sizeHint().width());
    for (int page = 0; page < tabs->count(); ++page)
        EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(page))) << tabs->tabText(page).toStdString();
}

TEST_F(OptionsDialog, UnchangedOkWritesAllFortyFourValuesInOrder)
{
    const TMainSettings before = settings;
    EXPECT_EQ(run(), OptionsOutcome::Stored);
    EXPECT_TRUE(shown);
    EXPECT_EQ(writer.names(), theFortyFourValues);
    EXPECT_EQ(writer.openings, 1);
    EXPECT_EQ(writer.closings, 1);
    EXPECT_TRUE(layoutSwitches.isEmpty());
    EXPECT_EQ(writer.value("Option Remember Size"), "B1");
    EXPECT_EQ(writer.value("Option Remember Position"), "B0");
    EXPECT_EQ(writer.value("Rename Case"), "S2");
    EXPECT_EQ(writer.value("Rename Format"), "SrdArtistAlbumTitle");
    EXPECT_EQ(writer.value("Rename Format User"), "S#TRACK# #TITLE#");
    EXPECT_EQ(writer.value("Guess Format1"), "S#ARTIST# - #TITLE#");
    EXPECT_EQ(writer.value("Guess Format2"), "S");
    EXPECT_EQ(writer.value("Option Invalid Char Playlist"), "S_");
    EXPECT_EQ(writer.value("Default Folder Dec"), "S/dec/");
    EXPECT_EQ(writer.value("Freedb Server"), "Scddb.example.org");
    EXPECT_EQ(writer.value("Dictionary Words"), "Sfeat.;DJ");
    EXPECT_EQ(writer.value("Color No Tag"), "I-16777211");
    EXPECT_EQ(writer.value("Color V1 V2"), "I" + QString::number(qint32(0xFFABCDEF)));
    EXPECT_EQ(settings.RenameFormats, before.RenameFormats);
    EXPECT_EQ(settings.ColorV1, before.ColorV1);
}

TEST_F(OptionsDialog, ChangedLayoutBoxSwitchesTheLayoutBeforeWriting)
{
    run([&] { dialog.cbExplorerFullLeft->setChecked(true); });
    EXPECT_EQ(layoutSwitches, QList<bool>{true});
    EXPECT_EQ(writtenBeforeSwitch, 0);
    EXPECT_TRUE(settings.OptionExplorerFull);
    EXPECT_EQ(writer.value("Option Explorer Full"), "B1");
}

TEST_F(OptionsDialog, CancelStoresAndWritesNothing)
{
    const TMainSettings before = settings;
    EXPECT_EQ(run([&] {
        dialog.cbRememberPos->setChecked(true);
        dialog.EditServer->setText("other");
    }, false), OptionsOutcome::Cancelled);
    EXPECT_EQ(writer.openings, 0);
    EXPECT_FALSE(settings.OptionRememberPosition);
    EXPECT_EQ(settings.FreedbServer, before.FreedbServer);
}

TEST_F(OptionsDialog, ControlsAreLoadedAgainAtEachShowing)
{
    run([&] { dialog.cbRememberPos->setChecked(true); }, false);
    run([&] { EXPECT_FALSE(dialog.cbRememberPos->isChecked()); });
    EXPECT_FALSE(settings.OptionRememberPosition);
}

TEST_F(OptionsDialog, GuessHistoryFollowsTheHistoryRule)
{
    const struct {
        QStringList history;
        QString text;
        QStringList expected;
    } cases[] = {
        {{"A", "", "", "", ""}, "B", {"A", "B", "", "", ""}},
        {{"A", "B", "C", "D", "E"}, "F", {"F", "A", "B", "C", "D"}},
        {{"A", "B", "", "", ""}, "a", {"A", "B", "", "", ""}},
        {{"A", "B", "C", "D", "E"}, "", {"", "A", "B", "C", "D"}},
        {{"A", "", "C", "", ""}, "", {"A", "", "C", "", ""}},
    };
    for (const auto& c : cases) {
        settings.GuessFormat1 = c.history[0];
        settings.GuessFormat2 = c.history[1];
        settings.GuessFormat3 = c.history[2];
        settings.GuessFormat4 = c.history[3];
        settings.GuessFormat5 = c.history[4];
        run([&] { dialog.cmbGuessFormat->setEditText(c.text); });
        EXPECT_EQ(settings.GuessFormat, c.text);
        EXPECT_EQ(QStringList({settings.GuessFormat1, settings.GuessFormat2, settings.GuessFormat3,
                               settings.GuessFormat4, settings.GuessFormat5}), c.expected) << c.text.toStdString();
    }
}

TEST_F(OptionsDialog, EnterKeepsTheTypedTextWhereTheHistoryDiffersInCase)
{
    settings.GuessFormat1 = "#artist# - #title#";
    settings.PlaylistFormat1 = "#artist# - #album#";
    const struct {
        QComboBox* box;
        QString typed;
        const QString& stored;
    } cases[] = {
        {dialog.cmbGuessFormat, "#ARTIST# - #TITLE#", settings.GuessFormat},
        {dialog.cmbPlaylistFormat, "#ARTIST# - #ALBUM#", settings.PlaylistFormat},
    };
    for (const auto& c : cases) {
        run([&] {
            dialog.PageControlOptions->setCurrentWidget(c.box->parentWidget());
            c.box->setFocus();
            c.box->clearEditText();
            QTest::keyClicks(c.box, c.typed);
            QTest::keyClick(c.box, Qt::Key_Return);
        });
        EXPECT_EQ(c.stored, c.typed);
    }
}

TEST_F(OptionsDialog, PlaylistHistoryTakesTheNewFormatFirstWhenFull)
{
    settings.PlaylistFormat1 = "A";
    settings.PlaylistFormat2 = "B";
    settings.PlaylistFormat3 = "C";
    settings.PlaylistFormat4 = "D";
    settings.PlaylistFormat5 = "E";
    run([&] { dialog.cmbPlaylistFormat->setEditText("F"); });
    EXPECT_EQ(writer.value("Playlist Format"), "SF");
    EXPECT_EQ(writer.value("Playlist Format1"), "SF");
    EXPECT_EQ(writer.value("Playlist Format5"), "SD");
}

TEST_F(OptionsDialog, DeleteEmptiesTheFormatAndKeepsTheRememberedOnes)
{
    settings.GuessFormat1 = "A";
    settings.GuessFormat2 = "B";
    settings.GuessFormat3 = "C";
    settings.GuessFormat4 = "D";
    settings.GuessFormat5 = "E";
    run([&] {
        dialog.btnDelete->click();
        EXPECT_EQ(dialog.cmbGuessFormat->count(), 5);
        EXPECT_EQ(dialog.cmbGuessFormat->itemText(4), "E");
    });
    EXPECT_EQ(settings.GuessFormat, "");
    EXPECT_EQ(settings.GuessFormat1, "");
    EXPECT_EQ(settings.GuessFormat2, "A");
    EXPECT_EQ(settings.GuessFormat5, "D");
}

TEST_F(OptionsDialog, DefaultsSetTheFormatsAndTheirBoxes)
{
    settings.OptionGuessTag = false;
    settings.OptionGeneratePlaylist = false;
    settings.OptionInvalidChar = "x";
    run([&] {
        dialog.btnDefault->click();
        dialog.btnDefaultPlaylist->click();
        dialog.btnDefaultFreedb->click();
    });
    EXPECT_EQ(settings.GuessFormat, "#ARTIST# - #TITLE#");
    EXPECT_TRUE(settings.OptionGuessTag);
    EXPECT_EQ(settings.PlaylistFormat, "#ARTIST# - #ALBUM#");
    EXPECT_TRUE(settings.OptionGeneratePlaylist);
    EXPECT_EQ(settings.OptionInvalidChar, "x");
    EXPECT_EQ(settings.FreedbPort, "8880");
    EXPECT_EQ(settings.FreedbServer, DefaultFreedbServer);
}

TEST_F(OptionsDialog, RenameCaseAboveTheItemsShowsDontChangeAndStoresFour)
{
    settings.RenameCase = "7";
    run([&] { EXPECT_EQ(dialog.rgCaseItems->checkedId(), 4); });
    EXPECT_EQ(settings.RenameCase, "4");
}

TEST_F(OptionsDialog, NegativeRenameCaseShowsNoItemAndStoresMinusOne)
{
    settings.RenameCase = "-3";
    run([&] { EXPECT_EQ(dialog.rgCaseItems->checkedId(), -1); });
    EXPECT_EQ(settings.RenameCase, "-1");
    EXPECT_EQ(writer.value("Rename Case"), "S-1");
}

TEST_F(OptionsDialog, RenameCaseThatIsNoNumberStopsBeforeShowing)
{
    settings.RenameCase = "abc";
    settings.OptionRememberPosition = true;
    EXPECT_EQ(dialog.Execute(settings, writer, [](bool) {}), OptionsOutcome::Failed);
    EXPECT_EQ(script.texts(), QStringList{"'abc' is not a valid integer value"});
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(writer.openings, 0);
    EXPECT_EQ(settings.RenameCase, "abc");
    EXPECT_TRUE(settings.OptionRememberPosition);
}

TEST_F(OptionsDialog, UnknownRenameFormatLeavesTheButtonsAsTheyWere)
{
    run([&] { dialog.rdArtistTitleBitrate->setChecked(true); }, false);
    settings.RenameFormat = "rdSomethingElse";
    run([&] { EXPECT_TRUE(dialog.rdArtistTitleBitrate->isChecked()); });
    EXPECT_EQ(settings.RenameFormat, "rdArtistTitleBitrate");
}

TEST_F(OptionsDialog, UserFormatIsSelectedIgnoringCase)
{
    settings.RenameFormatUser = "#track# #title#";
    run([&] { EXPECT_EQ(dialog.cbOtherFormat->currentIndex(), 1); });
    EXPECT_EQ(settings.RenameFormatUser, "#TRACK# #TITLE#");
}

TEST_F(OptionsDialog, UserFormatNotInTheListIsStoredEmpty)
{
    settings.RenameFormatUser = "rdArtistTitle";
    run([&] {
        EXPECT_EQ(dialog.cbOtherFormat->currentIndex(), -1);
        EXPECT_EQ(dialog.cbOtherFormat->currentText(), "");
    });
    EXPECT_EQ(settings.RenameFormatUser, "");
}

TEST_F(OptionsDialog, PickingAUserFormatChecksOther)
{
    run([&] {
        emit dialog.cbOtherFormat->activated(0);
        EXPECT_EQ(dialog.cbOtherFormat->toolTip(), dialog.cbOtherFormat->currentText());
    });
    EXPECT_EQ(settings.RenameFormat, "rdOther");
}

TEST_F(OptionsDialog, ReplacementCharacterIsShownAndStoredWholeAndEmptyBecomesHyphen)
{
    settings.OptionInvalidChar = "ab";
    settings.OptionInvalidCharPlaylist = "x";
    run([&] {
        EXPECT_EQ(dialog.EditCharRepInvalid->text(), "ab");
        dialog.EditCharRepInvalidP->clear();
    });
    EXPECT_EQ(settings.OptionInvalidChar, "ab");
    EXPECT_EQ(settings.OptionInvalidCharPlaylist, "-");
}

TEST_F(OptionsDialog, ReplacementCharacterTakesOneTypedCharacter)
{
    settings.OptionInvalidChar = "";
    run([&] {
        dialog.EditCharRepInvalid->setFocus();
        dialog.EditCharRepInvalid->insert("_");
        dialog.EditCharRepInvalid->insert("x");
    });
    EXPECT_EQ(settings.OptionInvalidChar, "_");
}

TEST_F(OptionsDialog, APastedReplacementIsCutToOneCharacter)
{
    settings.OptionInvalidChar = "";
    run([&] {
        QGuiApplication::clipboard()->setText("ab");
        dialog.EditCharRepInvalid->paste();
    });
    EXPECT_EQ(settings.OptionInvalidChar, "a");
}

TEST_F(OptionsDialog, LongerReplacementCanBeShortenedButNotRetyped)
{
    settings.OptionInvalidChar = "ab";
    run([&] {
        QLineEdit* edit = dialog.EditCharRepInvalid;
        edit->setFocus();
        edit->end(false);
        edit->backspace();
        edit->insert("x");
    });
    EXPECT_EQ(settings.OptionInvalidChar, "a");
}

TEST_F(OptionsDialog, TokenGoesBeforeTheSelectionWhichStays)
{
    settings.GuessFormat = "a - b";
    run([&] {
        QLineEdit* edit = dialog.cmbGuessFormat->lineEdit();
        edit->setSelection(4, 1);
        dialog.SpeedButton1->click();
        EXPECT_EQ(edit->text(), "a - #ARTIST#b");
        EXPECT_EQ(edit->cursorPosition(), 12);
        EXPECT_FALSE(edit->hasSelectedText());
        dialog.btnYearPlaylist->click();
    });
    EXPECT_EQ(settings.GuessFormat, "a - #ARTIST#b");
    EXPECT_EQ(settings.PlaylistFormat, "#ARTIST# - #ALBUM##YEAR#");
}

TEST_F(OptionsDialog, DictionaryIsSplitAndJoinedAtSemicolons)
{
    EXPECT_EQ(splitDictionaryWords("a;;b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitDictionaryWords(";a"), QStringList({"", "a"}));
    EXPECT_EQ(splitDictionaryWords("a;"), QStringList({"a"}));
    EXPECT_EQ(splitDictionaryWords(""), QStringList());
    EXPECT_EQ(splitDictionaryWords("two words"), QStringList({"two words"}));

    settings.DictionaryWords = "feat.;;DJ";
    run([&] { EXPECT_EQ(dialog.listBoxWords->count(), 3); });
    EXPECT_EQ(settings.DictionaryWords, "feat.;;DJ");
}

TEST_F(OptionsDialog, WordWithASemicolonComesBackAsTwoWords)
{
    run([&] {
        dialog.editWord->setText("vs;VS");
        dialog.btnAddWord->click();
        EXPECT_EQ(dialog.editWord->text(), "vs;VS");
    });
    EXPECT_EQ(settings.DictionaryWords, "feat.;DJ;vs;VS");
    run([&] { EXPECT_EQ(dialog.listBoxWords->count(), 4); });
}

TEST_F(OptionsDialog, WordDifferingOnlyInCaseIsNotAdded)
{
    run([&] {
        dialog.editWord->setText("dj");
        dialog.btnAddWord->click();
        dialog.editWord->setText("");
        dialog.btnAddWord->click();
    });
    EXPECT_EQ(settings.DictionaryWords, "feat.;DJ");
}

TEST_F(OptionsDialog, SelectedWordsAreDeleted)
{
    settings.DictionaryWords = "a;b;c";
    run([&] {
        dialog.listBoxWords->item(0)->setSelected(true);
        dialog.listBoxWords->item(2)->setSelected(true);
        dialog.btnDeleteWord->click();
    });
    EXPECT_EQ(settings.DictionaryWords, "b");
}

TEST_F(OptionsDialog, PickedColourGoesIntoTheRowsSwatch)
{
    script.colorAnswers.push_back(0xFFFF0000u);
    script.colorAnswers.push_back(std::nullopt);
    run([&] {
        dialog.btnColor3->click();
        dialog.btnColor4->click();
        EXPECT_EQ(dialog.ColorDlg, 0xFFFF0000u);
        EXPECT_EQ(dialog.DBEdit3->palette().color(QPalette::Base), QColor(255, 0, 0));
        EXPECT_EQ(dialog.DBEdit1->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    });
    EXPECT_EQ(gridColor(settings.ColorV2), QColor(255, 0, 0));
    EXPECT_EQ(settings.ColorV1V2, qint32(0xFFABCDEF));
    EXPECT_EQ(settings.ColorNoTag, ColorWindow);
}

TEST_F(OptionsDialog, ThePickedColourThatMatchesTheSystemColoursValueIsShownAsPicked)
{
    script.colorAnswers.push_back(static_cast<quint32>(ColorWindow));
    run([&] {
        dialog.btnColor1->click();
        EXPECT_EQ(dialog.DBEdit1->palette().color(QPalette::Base), QColor(0, 0, 5));
    });
    EXPECT_EQ(gridColor(settings.ColorNoTag), QColor(0, 0, 5));
}

TEST_F(OptionsDialog, FolderBrowsingFillsTheEditOnlyOnOk)
{
    TempDir first;
    TempDir second;
    settings.DefaultFolderEnc = first.path();
    QString message;
    bool subfoldersShown = true;
    QString initial;
    const auto browse = [&](bool accept) {
        QTimer::singleShot(0, &dialog, [&, accept] {
            auto* browser = qobject_cast<TFormBrowseFolder*>(QApplication::activeModalWidget());
            ASSERT_NE(browser, nullptr);
            message = browser->lblMsg->text();
            subfoldersShown = browser->chkSubfolders->isVisible();
            initial = browser->GetFolder();
            browser->SelectFolder(second.path());
            accept ? browser->accept() : browser->reject();
        });
    };
    run([&] {
        browse(false);
        dialog.sbtnBrowseEnc->click();
        EXPECT_EQ(dialog.EditDirEncode->text(), first.path());
        browse(true);
        dialog.sbtnBrowseEnc->click();
    });
    EXPECT_EQ(message, "Choose a default encode folder.");
    EXPECT_FALSE(subfoldersShown);
    EXPECT_EQ(initial, first.path());
    EXPECT_EQ(settings.DefaultFolderEnc, second.path());
}

TEST_F(OptionsDialog, WriteFailureIsReportedAndEndsTheWriting)
{
    writer.failAt = "Rename Format";
    EXPECT_EQ(run([&] { dialog.cbKeepTimestamp->setChecked(true); }), OptionsOutcome::Failed);
    EXPECT_EQ(script.texts(), QStringList{"Failed to set data for 'Rename Format'"});
    EXPECT_EQ(writer.names(), theFortyFourValues.mid(0, 14));
    EXPECT_EQ(writer.closings, 1);
    EXPECT_TRUE(settings.OptionKeepTimestamp);
}

TEST_F(OptionsDialog, KeyThatCannotBeOpenedTakesNothingSilently)
{
    writer.opens = false;
    EXPECT_EQ(run([&] { dialog.cbKeepTimestamp->setChecked(true); }), OptionsOutcome::Stored);
    EXPECT_TRUE(writer.written.isEmpty());
    EXPECT_TRUE(script.messages.isEmpty());
    EXPECT_TRUE(settings.OptionKeepTimestamp);
}

TEST_F(OptionsDialog, ShowingStartsOnTheGeneralPage)
{
    run([&] { dialog.PageControlOptions->setCurrentIndex(3); }, false);
    run([&] { EXPECT_EQ(dialog.PageControlOptions->currentIndex(), 0); });
}

TEST_F(OptionsDialog, EveryShowingIsCentredOnTheScreenWithOneSizeOnEveryPage)
{
    QList<QRect> places;
    for (int showing = 0; showing < 2; ++showing) {
        run([&] {
            for (int page = 0; page < dialog.PageControlOptions->count(); ++page) {
                places.append(dialog.geometry());
                QTest::keyClick(dialog.PageControlOptions, Qt::Key_Tab, Qt::ControlModifier);
            }
        }, false);
    }
    for (const QRect& place : std::as_const(places))
        EXPECT_EQ(place, places.first());
    EXPECT_LE((places.first().center() - dialog.screen()->availableGeometry().center()).manhattanLength(), 1);
}

TEST_F(OptionsDialog, RegistryWriterStoresTheValuesInTheSettingsFile)
{
    RegistryWriter registry;
    ASSERT_TRUE(writeSettings(registry, {{"Rename Case", QStringLiteral("3")}, {"Use Grid Colors", true}}));
    EXPECT_TRUE(script.messages.isEmpty());
    const Registry key;
    EXPECT_EQ(key.readString("Rename Case"), "3");
    EXPECT_EQ(key.readBool("Use Grid Colors"), true);
}
