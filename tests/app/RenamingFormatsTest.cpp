#include "ScriptedUserInterface.h"
#include "SettingsWriter.h"
#include "UnitOptions.h"
#include "UnitRenamingFormats.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FakeKey : public SettingsWriter {
public:
    bool open() override { return true; }
    std::optional<QString> close() override { return std::nullopt; }
    bool writeBool(const QString& name, bool) override { return record(name, {}); }
    bool writeInteger(const QString& name, qint32) override { return record(name, {}); }
    bool writeString(const QString& name, const QString& value) override { return record(name, value); }

    bool record(const QString& name, const QString& value)
    {
        if (name == failAt)
            return false;
        written += name + "=" + value;
        return true;
    }

    QString failAt;
    QStringList written;
};

QStringList listed(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines += list->item(i)->text();
    return lines;
}

QStringList items(const QComboBox* combo)
{
    QStringList lines;
    for (int i = 0; i < combo->count(); ++i)
        lines += combo->itemText(i);
    return lines;
}

QStringList tenValues(const QStringList& formats)
{
    QStringList values;
    for (int k = 0; k < 10; ++k)
        values += QStringLiteral("Rename Format %1=").arg(k + 1) + formats.value(k);
    return values;
}

class RenamingFormats : public ::testing::Test {
protected:
    RenamingFormats()
    {
        settings.RenameCase = "0";
        settings.RenameFormats = {"#ARTIST#", "#TITLE#", "#TRACK#", "#ALBUM#", "#BITRATE#"};
        settings.RenameFormatUser = "#TITLE#";
    }

    // Opens the options dialog, runs the renaming-formats round trip with edit() acting on the
    // shown formats dialog, and closes both dialogs.
    OptionsOutcome roundTrip(const std::function<void()>& edit, bool formatsOk, bool optionsOk)
    {
        QTimer::singleShot(0, &options, [&, formatsOk, optionsOk] {
            QTimer::singleShot(0, &formats, [&, formatsOk] {
                shownFormats = listed(formats.ListBoxFormats);
                edit();
                (formatsOk ? formats.btnOk : formats.btnCancel)->click();
            });
            options.btnEditformats->click();
            comboAfterEdit = items(options.cbOtherFormat);
            comboIndexAfterEdit = options.cbOtherFormat->currentIndex();
            writtenBeforeOptionsClose = key.written;
            (optionsOk ? options.btnOk : options.btnCancel)->click();
        });
        return options.Execute(settings, key, [](bool) {});
    }

    ScriptedUserInterface script;
    TFormOptions options;
    TFormRenamingFormats formats;
    TMainSettings settings;
    FakeKey key;
    QStringList shownFormats;
    QStringList comboAfterEdit;
    int comboIndexAfterEdit = -2;
    QStringList writtenBeforeOptionsClose;
};

}  // namespace

TEST_F(RenamingFormats, HasItsCaptionAndControls)
{
    EXPECT_EQ(formats.windowTitle(), "Renaming Formats");
    EXPECT_EQ(formats.size(), QSize(344, 293));
    EXPECT_EQ(formats.GroupBox1->title(), "Saved formats");
    EXPECT_EQ(formats.GroupBox2->title(), "Build formats");
    EXPECT_EQ(formats.lblNote->text(), "Note: to use these formats you must rename files by right-clicking a selection in the file grid");
    EXPECT_EQ(formats.BitBtn1->text(), "Bitrate");
    EXPECT_TRUE(formats.btnOk->isDefault());
    EXPECT_EQ(formats.ListBoxFormats->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(RenamingFormats, CancelKeepsFormatsComboAndSettingsKey)
{
    const OptionsOutcome outcome = roundTrip([&] {
        formats.EditFormat->setText("#ARTIST# new");
        formats.btnAddFormatClick();
        formats.ListBoxFormats->item(0)->setSelected(true);
        formats.btnDeleteClick();
    }, false, true);
    EXPECT_EQ(outcome, OptionsOutcome::Stored);
    EXPECT_EQ(shownFormats, settings.RenameFormats);
    EXPECT_EQ(settings.RenameFormats, QStringList({"#ARTIST#", "#TITLE#", "#TRACK#", "#ALBUM#", "#BITRATE#"}));
    EXPECT_EQ(comboAfterEdit, settings.RenameFormats);
    EXPECT_EQ(comboIndexAfterEdit, 1);
    EXPECT_TRUE(writtenBeforeOptionsClose.isEmpty());
    EXPECT_EQ(settings.RenameFormatUser, "#TITLE#");
}

TEST_F(RenamingFormats, OkWithAnEmptyListWritesTenEmptyValues)
{
    settings.RenameFormat3 = "#TRACK#";
    roundTrip([&] {
        formats.ListBoxFormats->selectAll();
        formats.btnDeleteClick();
    }, true, true);
    EXPECT_TRUE(settings.RenameFormats.isEmpty());
    EXPECT_TRUE(comboAfterEdit.isEmpty());
    EXPECT_EQ(writtenBeforeOptionsClose, tenValues({}));
    EXPECT_EQ(settings.RenameFormat3, "");
    EXPECT_EQ(settings.RenameFormatUser, "");
}

TEST_F(RenamingFormats, DeletingTheSecondOfFiveWritesTheOtherFourInOrder)
{
    roundTrip([&] {
        formats.ListBoxFormats->item(1)->setSelected(true);
        formats.btnDeleteClick();
    }, true, false);
    const QStringList remaining = {"#ARTIST#", "#TRACK#", "#ALBUM#", "#BITRATE#"};
    EXPECT_EQ(writtenBeforeOptionsClose, tenValues(remaining));
    EXPECT_EQ(comboAfterEdit, remaining);
    EXPECT_EQ(comboIndexAfterEdit, -1);
    // Kept although the options dialog was then cancelled.
    EXPECT_EQ(settings.RenameFormats, remaining);
    EXPECT_EQ(settings.RenameFormat4, "#BITRATE#");
    EXPECT_EQ(key.written, tenValues(remaining));
}

TEST_F(RenamingFormats, SameFormatAddedTwiceStandsTwice)
{
    roundTrip([&] {
        formats.ListBoxFormats->clear();
        formats.EditFormat->setText("x");
        formats.btnAddFormatClick();
        formats.btnAddFormatClick();
        EXPECT_EQ(formats.EditFormat->text(), "x");
    }, true, false);
    EXPECT_EQ(settings.RenameFormats, QStringList({"x", "x"}));
    EXPECT_EQ(key.written, tenValues({"x", "x"}));
}

TEST_F(RenamingFormats, FailedWriteIsReportedAndStopsTheRest)
{
    key.failAt = "Rename Format 2";
    roundTrip([] {}, true, false);
    EXPECT_EQ(script.texts(), QStringList{"Failed to set data for 'Rename Format 2'"});
    EXPECT_EQ(key.written, tenValues(settings.RenameFormats).mid(0, 1));
}

TEST_F(RenamingFormats, AddingStopsAtTenWithTheLimitMessage)
{
    for (int i = 0; i < 10; ++i)
        formats.ListBoxFormats->addItem(QString::number(i));
    formats.ListBoxFormats->item(3)->setSelected(true);
    formats.EditFormat->setText("eleven");
    formats.btnAddFormat->click();
    EXPECT_EQ(formats.ListBoxFormats->count(), 10);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0].text, "Limit of 10 formats reached, delete one first.");
    EXPECT_EQ(script.messages[0].title, "Corvane");
    EXPECT_EQ(script.messages[0].buttons, ui::Buttons::Ok);
}

TEST_F(RenamingFormats, EmptyFormatAddsNothingAndSaysNothing)
{
    formats.EditFormat->clear();
    formats.btnAddFormat->click();
    EXPECT_EQ(formats.ListBoxFormats->count(), 0);
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(RenamingFormats, FormatIsAddedAsTyped)
{
    formats.EditFormat->setText("  #TITLE# ");
    formats.btnAddFormat->click();
    EXPECT_EQ(listed(formats.ListBoxFormats), QStringList{"  #TITLE# "});
}

TEST_F(RenamingFormats, DeleteWithoutSelectionKeepsEveryLine)
{
    formats.ListBoxFormats->addItems({"a", "b"});
    formats.btnDelete->click();
    EXPECT_EQ(listed(formats.ListBoxFormats), QStringList({"a", "b"}));
}

TEST_F(RenamingFormats, TokenGoesBeforeTheSelectionAndTheCaretFollowsIt)
{
    const struct {
        QPushButton* button;
        const char* expected;
        int caret;
    } cases[] = {
        {formats.btnRenameArtist, "ab#ARTIST#cd", 10},
        {formats.btnRenameAlbum, "ab#ALBUM#cd", 9},
        {formats.btnRenameTrack, "ab#TRACK#cd", 9},
        {formats.btnRenameTitle, "ab#TITLE#cd", 9},
        {formats.BitBtn1, "ab#BITRATE#cd", 11},
    };
    for (const auto& c : cases) {
        formats.EditFormat->setText("abcd");
        formats.EditFormat->setSelection(2, 2);
        c.button->click();
        EXPECT_EQ(formats.EditFormat->text(), c.expected);
        EXPECT_EQ(formats.EditFormat->cursorPosition(), c.caret);
        EXPECT_FALSE(formats.EditFormat->hasSelectedText());
    }
}
