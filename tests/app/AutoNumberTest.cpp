#include "TagCommandsFixture.h"

namespace {

using AutoNumber = TagCommandsTest;
using fixtures::ID3v2TagBuilder;

QByteArray v2(const QString& title)
{
    return ID3v2TagBuilder(3).textFrame("TIT2", title).textFrame("TRCK", "99").build();
}

QStringList tracks(const QStringList& paths)
{
    QStringList result;
    for (const QString& path : paths) {
        TMpegFile file;
        file.ReadFromFile(path);
        result.append(file.ID3v2.Track);
    }
    return result;
}

}  // namespace

TEST_F(AutoNumber, AsksFirstAndNoNumbersNothing)
{
    const QStringList paths = open({{v2("a"), {}}});
    const QByteArray before = readAll(paths[0]);
    script.answers = {ui::Answer::No};
    selectRows({0});
    form.miAutoNumberClick();
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0].text, "Automatically save track number for selected file(s)?");
    EXPECT_EQ(readAll(paths[0]), before);
}

TEST_F(AutoNumber, TheQuestionIsAskedEvenWithoutSelection)
{
    open({{v2("a"), {}}});
    form.vtgrid->selectionModel()->clearSelection();
    form.ToolBtnAutoNbClick();
    EXPECT_EQ(script.texts(), QStringList{"Automatically save track number for selected file(s)?"});
}

TEST_F(AutoNumber, TwelveFilesWithLeadingZeroAndTotal)
{
    QList<QPair<QByteArray, QByteArray>> tags;
    for (int i = 0; i < 12; ++i)
        tags.append({v2(QString::number(i)), {}});
    const QStringList paths = open(tags);
    form.OptionLeadingZero = true;
    form.OptionAddTotalTracks = true;
    showPage(form.TabSheetV2);
    form.miSelectAllClick();
    form.miAutoNumberClick();
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected.append(QStringLiteral("%1/12").arg(i, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(tracks(paths), expected);
    EXPECT_EQ(reread(paths[0]).ID3v2.Title, "0");
}

TEST_F(AutoNumber, OptionsShapeTheTrackText)
{
    const QStringList paths = open({{v2("a"), {}}, {{}, {}}, {v2("c"), {}}});
    showPage(form.TabSheetV2);
    const QList<std::tuple<bool, bool, QStringList>> cases = {
        {true, true, {"01/03", "02/03", "03/03"}},
        {false, true, {"1/3", "2/3", "3/3"}},
        {true, false, {"01", "02", "03"}},
        {false, false, {"1", "2", "3"}},
    };
    for (const auto& [leadingZero, total, expected] : cases) {
        form.OptionLeadingZero = leadingZero;
        form.OptionAddTotalTracks = total;
        form.miSelectAllClick();
        form.miAutoNumberClick();
        EXPECT_EQ(tracks(paths), expected);
    }
}

TEST_F(AutoNumber, NumbersFollowTheGridOrderOfTheSelectedRowsOnly)
{
    const QStringList paths = open({{v2("a"), {}}, {v2("b"), {}}, {v2("c"), {}}, {v2("d"), {}}});
    form.OptionLeadingZero = false;
    form.OptionAddTotalTracks = false;
    showPage(form.TabSheetV2);
    QItemSelectionModel* selection = form.vtgrid->selectionModel();
    selection->clearSelection();
    selection->select(form.vtgridModel->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(form.vtgridModel->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(form.vtgridModel->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.miAutoNumberClick();
    EXPECT_EQ(tracks(paths), QStringList({"1", "99", "2", "3"}));
}

TEST_F(AutoNumber, Id3v1PageWritesTheTrackByteAndKeepsEverythingElse)
{
    const QStringList paths = open({{{}, v1("one", "a", 0, 17)}, {{}, {}}, {{}, v1("three", "c", 8, 3)}});
    const QByteArray before0 = lastBlock(paths[0]);
    const QByteArray before2 = lastBlock(paths[2]);
    showPage(form.TabSheetV1);
    form.miSelectAllClick();
    form.miAutoNumberClick();
    EXPECT_EQ(lastBlock(paths[0]), before0.left(125) + '\0' + '\x01' + before0.right(1));
    EXPECT_EQ(lastBlock(paths[1]), QByteArray("TAG") + QByteArray(123, '\0') + '\x02' + '\xff');
    EXPECT_EQ(lastBlock(paths[2]), before2.left(126) + '\x03' + before2.right(1));
    EXPECT_EQ(reread(paths[0]).ID3v1Kind, ID3v1_1);
}

TEST_F(AutoNumber, ThreeHundredthFileGetsTrackByte44)
{
    const QByteArray audio = readAll(writeAudio(dir, "model.mp3", {}, v1("t")));
    QStringList paths;
    for (int i = 0; i < 300; ++i)
        paths.append(dir.write(QStringLiteral("many/%1.mp3").arg(i, 3, 10, QLatin1Char('0')), audio));
    form.OpenFiles(paths, false);
    showPage(form.TabSheetV1);
    form.miSelectAllClick();
    form.miAutoNumberClick();
    EXPECT_EQ(quint8(lastBlock(paths[0]).at(126)), 1);
    EXPECT_EQ(quint8(lastBlock(paths[255]).at(126)), 0);
    EXPECT_EQ(quint8(lastBlock(paths[299]).at(126)), 44);
}

TEST_F(AutoNumber, AVersion22FileIsReportedAtOnceAndKeepsItsPosition)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").build();
    const QStringList paths = open({{v2("a"), {}}, {tag22, {}}, {v2("c"), {}}});
    const QByteArray before = readAll(paths[1]);
    form.OptionLeadingZero = false;
    form.OptionAddTotalTracks = false;
    form.OptionConvertV22 = true;
    showPage(form.TabSheetV2);
    form.miSelectAllClick();
    form.miAutoNumberClick();
    EXPECT_EQ(reread(paths[0]).ID3v2.Track, "1");
    EXPECT_EQ(readAll(paths[1]), before);
    EXPECT_EQ(reread(paths[2]).ID3v2.Track, "3");
    ASSERT_EQ(script.messages.size(), 2);
    EXPECT_EQ(script.messages[1].text, "Modifiying tags v2.2 is not supported. Remove the tag first.");
    EXPECT_EQ(script.messages[1].icon, ui::Icon::Error);
}

TEST_F(AutoNumber, NumberedFilesGetANewDateEvenWithKeepTimestamp)
{
    const QStringList paths = open({{v2("a"), {}}});
    const TFileDate old = 1'000'000'000'000'000'000LL;
    SetFileDate(paths[0], old);
    form.ReloadFile(0);
    form.OptionKeepTimestamp = true;
    showPage(form.TabSheetV2);
    selectRows({0});
    form.miAutoNumberClick();
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(paths[0], date));
    EXPECT_NE(date, old);
}

TEST_F(AutoNumber, CancelAfterTheFirstFileLeavesTheOthers)
{
    const QStringList paths = open({{v2("a"), {}}, {v2("b"), {}}, {v2("c"), {}}});
    form.OptionAddTotalTracks = false;
    form.OptionLeadingZero = false;
    showPage(form.TabSheetV2);
    form.miSelectAllClick();
    cancelAtFirstWait();
    form.miAutoNumberClick();
    EXPECT_EQ(tracks(paths), QStringList({"1", "99", "99"}));
}

TEST_F(AutoNumber, TheProgressWindowNamesTheFileBeingNumbered)
{
    open({{v2("a"), {}}});
    selectRows({0});
    recordMessageAtFirstWait();
    form.miAutoNumberClick();
    EXPECT_EQ(progressMessage, "Auto number track of: 001.mp3");
}
