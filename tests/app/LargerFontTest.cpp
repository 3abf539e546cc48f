#include "SettingsHome.h"
#include "UnitBrowseFolder.h"
#include "UnitChooseAlbum.h"
#include "UnitOptions.h"
#include "UnitProgressForm.h"
#include "UnitRenamingFormats.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

namespace {

TEST(LargerFontTest, TheFixedSizeDialogsShowEveryTextWholeAndSeveralRowsOfTheirLists)
{
    SettingsHome home;
    QFont larger = QApplication::font();
    larger.setPointSize(11);
    QApplication::setFont(larger);
    TFormProgress progress;
    progress.SetupProgress(0, 0, 1, 1, true);
    TFormRenamingFormats formats;
    TFormChooseAlbum chooser(nullptr);
    for (QListWidget* list : {formats.ListBoxFormats, chooser.ListBoxAlbums})
        list->addItems({"#ARTIST#", "#TRACK#", "#ALBUM#", "#TITLE#", "#BITRATE#"});
    TFormBrowseFolder browse;
    TFormOptions options;
    for (QWidget* dialog : std::initializer_list<QWidget*>{&progress, &formats, &chooser, &browse, &options}) {
        dialog->show();
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect caption = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_TRUE(!button->isVisible() || caption.width() >= button->fontMetrics().horizontalAdvance(button->text()))
                << button->text().toStdString();
        }
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            EXPECT_TRUE(!label->isVisible() || !label->wordWrap() || label->height() >= label->heightForWidth(label->width()))
                << label->text().toStdString();
        for (const QListWidget* list : dialog->findChildren<QListWidget*>())
            EXPECT_TRUE(list->count() == 0 || list->viewport()->height() >= 3 * list->sizeHintForRow(0));
    }
}

}  // namespace
