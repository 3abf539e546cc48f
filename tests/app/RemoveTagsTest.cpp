#include "TagCommandsFixture.h"

namespace {

using RemoveTags = TagCommandsTest;

QByteArray v2(const QString& title)
{
    return fixtures::ID3v2TagBuilder(3).textFrame("TIT2", title).build();
}

}  // namespace

TEST_F(RemoveTags, AsksWithThePageCaptionAndTheFileCount)
{
    open({{v2("a"), v1("a")}, {v2("b"), v1("b")}, {v2("c"), v1("c")}});
    script.answers = {ui::Answer::No, ui::Answer::No};
    showPage(form.TabSheetV1);
    selectRows({0, 1, 2});
    form.miRemoveTagClick();
    showPage(form.TabSheetV2);
    selectRows({1});
    form.miRemoveTagClick();
    ASSERT_EQ(script.messages.size(), 2);
    EXPECT_EQ(script.messages[0].text, "Delete Tag ID3 V1 of 3 file(s)?");
    EXPECT_EQ(script.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(script.messages[1].text, "Delete Tag ID3 V2 of 1 file(s)?");
}

TEST_F(RemoveTags, NoChangesNothing)
{
    const QStringList paths = open({{v2("a"), v1("a")}});
    const QByteArray before = readAll(paths[0]);
    script.answers = {ui::Answer::No};
    selectRows({0});
    form.miRemoveTagClick();
    EXPECT_EQ(readAll(paths[0]), before);
    EXPECT_TRUE(form.FileList[0]->HasID3v1);
}

TEST_F(RemoveTags, RemovingId3v1LeavesId3v2AndTheReverse)
{
    const QStringList paths = open({{v2("a"), v1("a")}, {v2("b"), v1("b")}});
    const QByteArray tag = v2("a");
    const QByteArray before0 = readAll(paths[0]);
    const QByteArray before1 = readAll(paths[1]);
    showPage(form.TabSheetV1);
    selectRows({0});
    form.miRemoveTagClick();
    EXPECT_EQ(readAll(paths[0]), before0.left(before0.size() - 128));
    EXPECT_FALSE(form.FileList[0]->HasID3v1);
    EXPECT_TRUE(form.FileList[0]->HasID3v2);

    showPage(form.TabSheetV2);
    selectRows({1});
    form.miRemoveTagClick();
    const TMpegFile second = reread(paths[1]);
    EXPECT_FALSE(second.HasID3v2);
    EXPECT_TRUE(second.HasID3v1);
    EXPECT_EQ(lastBlock(paths[1]), before1.right(128));
    EXPECT_FALSE(form.FileList[1]->HasID3v2);
}

TEST_F(RemoveTags, AFileWithoutTheTagStaysUnchangedAndKeepsItsDate)
{
    const QStringList paths = open({{v2("a"), {}}, {{}, v1("b")}});
    const QByteArray before0 = readAll(paths[0]);
    const TFileDate old = 1'100'000'000'000'000'007LL;
    SetFileDate(paths[0], old);
    SetFileDate(paths[1], old);
    form.OptionKeepTimestamp = true;
    showPage(form.TabSheetV1);
    selectRows({0, 1});
    form.miRemoveTagClick();
    EXPECT_EQ(readAll(paths[0]), before0);
    EXPECT_FALSE(reread(paths[1]).HasID3v1);
    for (const QString& path : paths) {
        TFileDate date = -1;
        ASSERT_TRUE(GetFileDate(path, date));
        EXPECT_EQ(date, old);
    }
}

TEST_F(RemoveTags, CancelDuringTheFirstWaitRemovesOnlyTheFirstTag)
{
    const QStringList paths = open({{{}, v1("a")}, {{}, v1("b")}, {{}, v1("c")}});
    const QByteArray before1 = readAll(paths[1]);
    const QByteArray before2 = readAll(paths[2]);
    showPage(form.TabSheetV1);
    selectRows({0, 1, 2});
    cancelAtFirstWait();
    form.miRemoveTagClick();
    EXPECT_FALSE(reread(paths[0]).HasID3v1);
    EXPECT_EQ(readAll(paths[1]), before1);
    EXPECT_EQ(readAll(paths[2]), before2);
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(RemoveTags, AFileThatCannotBeReadIsSkippedAndTheOthersAreDone)
{
    const QStringList paths = open({{{}, v1("a")}, {{}, v1("b")}});
    QFile::remove(paths[0]);
    showPage(form.TabSheetV1);
    selectRows({0, 1});
    form.miRemoveTagClick();
    EXPECT_FALSE(reread(paths[1]).HasID3v1);
    EXPECT_FALSE(QFile::exists(paths[0]));
}

TEST_F(RemoveTags, TheProgressWindowNamesTheFileBeingDone)
{
    open({{{}, v1("a")}});
    selectRows({0});
    recordMessageAtFirstWait();
    form.miRemoveTagClick();
    EXPECT_EQ(progressMessage, "Removing tag of: 001.mp3");
}

TEST_F(RemoveTags, ABatchWhoseEveryFileFailsStepsTheBarForEachAndEnds)
{
    // Records the bar when the progress window closes.
    class BarAtClose : public QObject {
    public:
        BarAtClose() { qApp->installEventFilter(this); }
        ~BarAtClose() override { qApp->removeEventFilter(this); }
        int value = -1;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (auto* progress = qobject_cast<TFormProgress*>(watched); progress && event->type() == QEvent::Hide)
                value = progress->ProgressBar1->value();
            return false;
        }
    } bar;
    const QStringList paths = open({{{}, v1("a")}, {{}, v1("b")}, {{}, v1("c")}});
    for (const QString& path : paths)
        QFile::remove(path);
    showPage(form.TabSheetV1);
    selectRows({0, 1, 2});
    form.miRemoveTagClick();
    EXPECT_EQ(bar.value, 3);
    EXPECT_EQ(script.texts().first(), "Delete Tag ID3 V1 of 3 file(s)?");
    EXPECT_TRUE(form.isEnabled());
}
