#include "QtUserInterface.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
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
