#include "FreedbDialogFixture.h"
#include "UnitChooseAlbum.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

namespace {

const QString InvalidId = "Invalid disc ID. It must be made of 8 consecutive characters.\n"
                          "Disc IDs can be found using the search engine of gnudb.org,\n"
                          "at the top of each album page.";
const QString NotFound = "Album not found.\nDo you want to specify the disc id yourself?\n"
                         "Search for album ID on gnudb.org";

QStringList readLines(const QStringList& received)
{
    QStringList reads;
    for (const QString& line : received) {
        if (line.startsWith("cddb read "))
            reads << line;
    }
    return reads;
}

// Within a few pixels: an odd size has no exact centre, and the frame is the window manager's.
void expectCentredOnTheScreen(const QWidget& window)
{
    const QPoint offset =
        window.frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 8) << window.windowTitle().toStdString();
}

void clickCell(TFormFreedb& form, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    QTableWidget* grid = form.sgTracks;
    if (row == 0) {
        QHeaderView* header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), button, {}, at);
    } else {
        QTest::mouseClick(grid->viewport(), button, {}, grid->visualRect(grid->model()->index(row - 1, column)).center());
    }
}

}  // namespace

TEST(FreedbPort, DigitsOnlyGiveTheirValueAnythingElseTheDefault)
{
    const QList<std::pair<QString, qint32>> cases{{"", 8880}, {"88a0", 8880}, {" 8880", 8880}, {"-1", 8880},
                                                  {"8880", 8880}, {"1234", 1234}, {"99999999999", 0}};
    for (const auto& [setting, port] : cases)
        EXPECT_EQ(FreedbPortOf(setting), port) << setting.toStdString();
}

TEST_F(FreedbDialog, PortSettingWithALetterGivesTheDefaultPort)
{
    openLengths({10, 20});
    EXPECT_EQ(showForm("12a4").Freedb->FPort, 8880);
    EXPECT_EQ(form->Freedb->FHost, "127.0.0.1");
}

TEST_F(FreedbDialog, OpensIdleWithDisabledFieldsAndAnEmptyTrackRow)
{
    openLengths({10, 20});
    showForm();
    EXPECT_EQ(form->windowTitle(), "Get Album From Freedb");
    EXPECT_TRUE(form->btnQuery->isEnabled());
    EXPECT_FALSE(form->btnWriteTags->isEnabled());
    EXPECT_FALSE(form->editArtist->isEnabled());
    EXPECT_TRUE(form->rdBoth->isChecked());
    EXPECT_EQ(form->RowCount(), 2);
    EXPECT_EQ(QStringList({form->Cell(0, 0), form->Cell(1, 0), form->Cell(2, 0)}), QStringList({"", "#", "Track Name"}));
}

TEST_F(FreedbDialog, PointingAtAnAlbumFieldShowsItsShortAndLongHint)
{
    openLengths({10, 20});
    showForm();
    QTest::mouseMove(form->editAlbum);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), "You can modify this field to overwrite freedb data when saving tags\n"
                                "These fields are NOT used by the search, only the length and order of the files are");
}

TEST_F(FreedbDialog, OneMatchIsReadWithoutTheChooser)
{
    openLengths({10, 20});
    showForm();
    onNextModal([](QWidget* modal) { modal->close(); });
    lookUpTitles({"First", "Second"});
    server.settle();

    EXPECT_TRUE(modalsSeen.isEmpty());
    EXPECT_EQ(server.received.at(1), "cddb query 05001E02 2 150 900 30");
    EXPECT_EQ(readLines(server.received), QStringList{"cddb read rock 0a0b0c0d"});
    EXPECT_EQ(form->editArtist->text(), "Band");
    EXPECT_EQ(form->editAlbum->text(), "Record");
    EXPECT_EQ(form->editGenre->text(), "Rock");
    EXPECT_EQ(form->editYear->text(), "2001");
    EXPECT_EQ(columnOf(*form, 1), QStringList({"1", "2"}));
    EXPECT_EQ(columnOf(*form, 2), QStringList({"First", "Second"}));
    EXPECT_TRUE(form->editArtist->isEnabled());
    EXPECT_TRUE(form->btnWriteTags->isEnabled());
    EXPECT_TRUE(form->btnQuery->isEnabled());
    EXPECT_TRUE(form->btnClose->isEnabled());
    EXPECT_TRUE(userInterface.messages.isEmpty());
}

TEST_F(FreedbDialog, FiveMatchesShowTheChooserWithTheFirstSelected)
{
    openLengths({10, 20});
    showForm();
    const QStringList matches{"jazz 11111111 One", "rock 22222222 Two", "misc 33333333 Three", "folk 44444444 Four",
                              "data 55555555 Five"};
    server.replies[queryLine()] = "211 close matches\r\n" + matches.join("\r\n").toUtf8() + "\r\n.\r\n";
    QStringList listed;
    int selected = -1;
    onNextModal([&](QWidget* modal) {
        auto* chooser = qobject_cast<TFormChooseAlbum*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), "Choose Album");
        for (int i = 0; i < chooser->ListBoxAlbums->count(); ++i)
            listed << chooser->ListBoxAlbums->item(i)->text();
        selected = chooser->ListBoxAlbums->currentRow();
        // Closed without OK: the selected line is read all the same.
        chooser->reject();
    });
    form->btnQueryClick();
    server.settle();

    EXPECT_EQ(listed, matches);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(readLines(server.received), QStringList{"cddb read jazz 11111111"});
}

TEST_F(FreedbDialog, ChosenMatchIsReadAndClosingIsRefusedWhileTheLookupRuns)
{
    openLengths({10, 20});
    showForm();
    server.replies[queryLine()] = "210 exact\r\nrock 11111111 One\r\nsoundtrack 22222222 Two\r\n.\r\n";
    bool closeRefused = false;
    onNextModal([&](QWidget* modal) {
        form->close();
        closeRefused = form->isVisible() && !form->btnClose->isEnabled();
        auto* chooser = qobject_cast<TFormChooseAlbum*>(modal);
        chooser->ListBoxAlbums->setCurrentRow(1);
        QTest::mouseClick(chooser->btnOk, Qt::LeftButton);
    });
    form->btnQueryClick();
    server.settle();

    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(readLines(server.received), QStringList{"cddb read soundtrack 22222222"});
    form->close();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FreedbDialog, TypedIdOfSevenCharactersIsRefusedAndNothingIsRead)
{
    openLengths({10, 20});
    showForm();
    server.replies[queryLine()] = "202 No match found.\r\n";
    userInterface.answers.push_back(ui::Answer::Yes);
    userInterface.textAnswers.push_back(QString("1234567"));
    form->btnQueryClick();
    server.settle();

    ASSERT_EQ(userInterface.messages.size(), 2);
    EXPECT_EQ(userInterface.messages[0].text, NotFound);
    EXPECT_EQ(userInterface.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(userInterface.messages[0].icon, ui::Icon::Question);
    EXPECT_EQ(userInterface.messages[0].title, "Corvane");
    ASSERT_EQ(userInterface.inputs.size(), 1);
    EXPECT_EQ(userInterface.inputs[0].title, "Get disc ID: gnudb.org");
    EXPECT_EQ(userInterface.inputs[0].prompt, "Enter the disc id");
    EXPECT_EQ(userInterface.inputs[0].initial, "");
    EXPECT_EQ(userInterface.messages[1].text, InvalidId);
    EXPECT_EQ(userInterface.messages[1].icon, ui::Icon::Error);
    EXPECT_EQ(userInterface.messages[1].title, "Corvane");
    EXPECT_EQ(server.connections, 1);
    EXPECT_FALSE(form->btnWriteTags->isEnabled());
}

TEST_F(FreedbDialog, TypedIdIsTrimmedAndTriedInEveryCategory)
{
    openLengths({10, 20});
    showForm();
    server.replies[queryLine()] = "202 No match found.\r\n";
    userInterface.answers.push_back(ui::Answer::Yes);
    userInterface.textAnswers.push_back(QString(" 0A0B0C0D\t "));
    form->btnQueryClick();
    server.settle();

    const QStringList reads = readLines(server.received);
    ASSERT_EQ(reads.size(), 11);
    EXPECT_EQ(reads.first(), "cddb read misc 0A0B0C0D");
    EXPECT_EQ(reads.last(), "cddb read reggae 0A0B0C0D");
    ASSERT_EQ(userInterface.messages.size(), 2);
    EXPECT_EQ(userInterface.messages[1].text, "The specified disc ID does not exist.");
    EXPECT_FALSE(form->btnWriteTags->isEnabled());
}

TEST_F(FreedbDialog, AnsweringNoEndsTheLookupQuietly)
{
    openLengths({10, 20});
    showForm();
    server.replies[queryLine()] = "202 No match found.\r\n";
    userInterface.answers.push_back(ui::Answer::No);
    form->btnQueryClick();
    server.settle();

    EXPECT_EQ(userInterface.messages.size(), 1);
    EXPECT_EQ(server.connections, 1);
    EXPECT_TRUE(form->btnQuery->isEnabled());
}

TEST_F(FreedbDialog, MatchWithAnIdOfTheWrongLengthIsNotRead)
{
    openLengths({10, 20});
    showForm();
    server.replies[queryLine()] = "200 rock 0a0b0c Short\r\n";
    form->btnQueryClick();
    server.settle();

    EXPECT_EQ(userInterface.texts(), QStringList{InvalidId});
    EXPECT_EQ(server.connections, 1);
}

TEST_F(FreedbDialog, RefusedConnectionIsReportedThenTreatedAsNoMatch)
{
    openLengths({10, 20});
    showForm(QString::number(closedPort()));
    userInterface.answers.push_back(ui::Answer::Ok);
    userInterface.answers.push_back(ui::Answer::No);
    form->btnQueryClick();

    ASSERT_EQ(userInterface.messages.size(), 2);
    EXPECT_EQ(userInterface.messages[0].text, "Could not connect to server.");
    EXPECT_EQ(userInterface.messages[0].title, "Error");
    EXPECT_EQ(userInterface.messages[1].text, NotFound);
}

TEST_F(FreedbDialog, ConnectionLostEndsTheLookupWithAMessage)
{
    openLengths({10, 20});
    showForm();
    server.closeAfter << "cddb hello abc localhost Corvane 1.4";
    form->btnQueryClick();

    EXPECT_EQ(userInterface.texts(), QStringList{"The server closed the connection."});
    EXPECT_TRUE(form->btnQuery->isEnabled());
    EXPECT_TRUE(form->btnClose->isEnabled());
    EXPECT_FALSE(form->btnWriteTags->isEnabled());
}

TEST_F(FreedbDialog, MoreTracksThanFilesStartUncheckedAndRefuseAFurtherCheck)
{
    openLengths({10, 20});
    showForm();
    lookUpTitles({"A", "B", "C", "D"});
    EXPECT_EQ(columnOf(*form, 0), QStringList({"1", "1", "0", "0"}));

    clickCell(*form, 3, 0);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"1", "1", "0", "0"}));
    clickCell(*form, 1, 0);
    clickCell(*form, 3, 0);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"0", "1", "1", "0"}));
}

TEST_F(FreedbDialog, FewerTracksThanFilesAllStartChecked)
{
    openLengths({10, 20, 30});
    showForm();
    lookUpTitles({"A", "B"});
    EXPECT_EQ(columnOf(*form, 0), QStringList({"1", "1"}));
}

TEST_F(FreedbDialog, HeaderLeftClickRechecksTheFirstRowsAndRightClickClearsAll)
{
    openLengths({10, 20});
    showForm();
    lookUpTitles({"A", "B", "C"});
    clickCell(*form, 1, 0);
    clickCell(*form, 3, 0);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"0", "1", "1"}));

    clickCell(*form, 0, 0);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"1", "1", "0"}));
    clickCell(*form, 0, 0, Qt::RightButton);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"0", "0", "0"}));
    clickCell(*form, 0, 2);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"0", "0", "0"}));
}

TEST_F(FreedbDialog, ClicksOnNumbersAndTitlesChangeNothingAndSelectNothing)
{
    openLengths({10, 20});
    showForm();
    lookUpTitles({"A", "B"});
    clickCell(*form, 1, 1);
    clickCell(*form, 2, 2, Qt::RightButton);
    EXPECT_EQ(columnOf(*form, 0), QStringList({"1", "1"}));
    EXPECT_TRUE(form->sgTracks->selectedItems().isEmpty());
}

TEST_F(FreedbDialog, LaterLookupsEmptyTheFieldsButKeepThemEnabled)
{
    openLengths({10, 20});
    showForm();
    lookUpTitles({"A", "B"});
    server.replies[queryLine()] = "202 No match found.\r\n";
    userInterface.answers.push_back(ui::Answer::No);
    form->btnQueryClick();

    EXPECT_TRUE(form->editArtist->text().isEmpty());
    EXPECT_TRUE(form->editArtist->isEnabled());
    EXPECT_EQ(form->RowCount(), 2);
    EXPECT_TRUE(form->Cell(2, 1).isEmpty());
    EXPECT_FALSE(form->btnWriteTags->isEnabled());
}

TEST_F(FreedbDialog, CheckBoxImagesComeFromTheStyle)
{
    openLengths({10});
    showForm();
    ASSERT_FALSE(form->CheckedBitmap.isNull());
    EXPECT_EQ(form->CheckedBitmap.size(), form->UncheckedBitmap.size());
    EXPECT_NE(form->CheckedBitmap.toImage(), form->UncheckedBitmap.toImage());
}

TEST(FormChooseAlbum, DoubleClickClosesWithOk)
{
    TFormChooseAlbum chooser(nullptr);
    chooser.ListBoxAlbums->addItems({"rock 11111111 One"});
    chooser.show();
    QListWidget* list = chooser.ListBoxAlbums;
    const QPoint at = list->visualItemRect(list->item(0)).center();
    // A double click as a user makes it: the first click, then the second as a double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_FALSE(chooser.isVisible());
}

TEST(FreedbDialogs, BothAreCentredOnTheScreenNotOnTheirOwner)
{
    QWidget owner;
    owner.setGeometry(0, 0, 120, 90);
    owner.show();
    TFormFreedb form(TFreedbHost{}, &owner);
    form.show();
    expectCentredOnTheScreen(form);
    TFormChooseAlbum chooser(&form);
    chooser.show();
    expectCentredOnTheScreen(chooser);
}

TEST_F(FreedbDialog, TrackGridKeepsItsDesignedColumnsAndRowHeight)
{
    openLengths({10, 20});
    showForm();
    lookUpTitles({"A", "B", "C"});
    QTableWidget* grid = form->sgTracks;
    EXPECT_EQ(QList<int>({grid->columnWidth(0), grid->columnWidth(1), grid->columnWidth(2)}), QList<int>({22, 22, 317}));
    for (int row = 0; row < grid->rowCount(); ++row)
        EXPECT_EQ(grid->rowHeight(row), 16);
}

TEST_F(FreedbDialog, CheckColumnShowsTheImageOfEachRowsState)
{
    openLengths({10, 20});
    showForm();
    lookUpTitles({"A", "B", "C"});
    QTableWidget* grid = form->sgTracks;
    const auto cellImage = [grid](int row) {
        return grid->viewport()->grab(grid->visualRect(grid->model()->index(row - 1, 0))).toImage();
    };
    const auto drawn = [&](const QPixmap& image) {
        QImage expected = cellImage(1);
        expected.fill(grid->palette().button().color());
        QPainter painter(&expected);
        painter.drawPixmap((expected.width() - image.width()) / 2, (expected.height() - image.height()) / 2, image);
        return expected;
    };

    EXPECT_EQ(cellImage(1), drawn(form->CheckedBitmap));
    EXPECT_EQ(cellImage(2), drawn(form->CheckedBitmap));
    EXPECT_EQ(cellImage(3), drawn(form->UncheckedBitmap));
    clickCell(*form, 2, 0);
    EXPECT_EQ(cellImage(2), drawn(form->UncheckedBitmap));
}
