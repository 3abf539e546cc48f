#include "QtUserInterface.h"
#include "TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QtUserInterface, TheFileDialogShowsEachFilterByItsDescriptionAlone)
{
    ui::QtUserInterface userInterface;
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(filters, nullptr);
        for (int index = 0; index < filters->count(); ++index)
            shown << filters->itemText(index);
        dialog->reject();
    });
    ui::FileDialogRequest request;
    request.filter = "Mpeg Audio Files (*.mp3, *.mp2)  (*.mp3 *.MP3);;All (*)";
    userInterface.openFiles(request);
    EXPECT_EQ(shown, QStringList({"Mpeg Audio Files (*.mp3, *.mp2)", "All"}));
}

TEST(QtUserInterface, ASavedNameGetsTheChosenFiltersExtensionUnlessItIsOfTheFiltersKinds)
{
    const struct { const char* proposed; const char* typed; int filterIndex; const char* saved; } examples[] = {
        {"R.E.M. - Automatic for the People", "", 0, "R.E.M. - Automatic for the People.m3u"},
        {"Vol. 1", "", 1, "Vol. 1.pls"},
        {"list.PLS", "", 0, "list.PLS"},
        {"Proposed", "R.E.M. - Best", 0, "R.E.M. - Best.m3u"},
    };
    TempDir dir;
    ui::QtUserInterface userInterface;
    ui::FileDialogRequest request;
    request.filter = "Winamp Playlist (*.m3u) (*.m3u);;Playlist (*.pls) (*.pls)";
    request.defaultExtension = "m3u";
    request.extensionFromFilter = true;
    request.initialFolder = dir.path();
    for (const auto& example : examples) {
        request.fileName = example.proposed;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (example.filterIndex == 1)
                QTest::keyClick(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), Qt::Key_Down);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (*example.typed) {
                ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
                QTest::mouseClick(name, Qt::LeftButton);
                QTest::keySequence(name, QKeySequence::SelectAll);
                QTest::keyClicks(name, example.typed);
            }
            QTest::keyClick(name, Qt::Key_Return);
        });
        const ui::FileDialogResult result = userInterface.saveFile(request);
        EXPECT_EQ(result.files.join(";").toStdString(), dir.filePath(example.saved).toStdString());
        EXPECT_EQ(result.filterIndex, example.filterIndex);
    }
}
