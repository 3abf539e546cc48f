#include "SettingsHome.h"
#include "UnitBrowseFolder.h"
#include "UnitChooseAlbum.h"
#include "UnitOptions.h"
#include "UnitProgressForm.h"
#include "UnitRenamingFormats.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

namespace {

// The desktop's font at 11 pt for the length of a test.
class LargerFont {
public:
    LargerFont()
    {
        QFont larger = normal;
        larger.setPointSize(11);
        QApplication::setFont(larger);
    }
    ~LargerFont() { QApplication::setFont(normal); }

private:
    const QFont normal = QApplication::font();
};

bool showsCaptionWhole(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect caption = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return caption.width() >= button->fontMetrics().horizontalAdvance(button->text());
}

TEST(LargerFontTest, TheFixedSizeDialogsShowEveryTextWholeAndSeveralRowsOfTheirLists)
{
    SettingsHome home;
    const LargerFont font;
    TFormProgress progress;
    progress.SetupProgress(0, 0, 1, 1, true);
    TFormRenamingFormats formats;
    TFormChooseAlbum chooser(nullptr);
    for (QListWidget* list : {formats.ListBoxFormats, chooser.ListBoxAlbums})
        list->addItems({"#ARTIST# - #TITLE#", "#TRACK# #TITLE#", "#ALBUM#", "#TITLE#", "#BITRATE#"});
    TFormBrowseFolder browse;
    TFormOptions options;
    for (QWidget* dialog : std::initializer_list<QWidget*>{&progress, &formats, &chooser, &browse, &options}) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        dialog->show();
        if (dialog->layout()) {
            EXPECT_GE(dialog->width(), dialog->layout()->totalMinimumSize().width());
            EXPECT_GE(dialog->height(), dialog->layout()->totalMinimumSize().height());
        }
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                EXPECT_TRUE(showsCaptionWhole(button)) << button->text().toStdString();
            }
        }
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->isVisible() && label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
            }
        }
        for (const QListWidget* list : dialog->findChildren<QListWidget*>()) {
            if (list->count() > 0) {
                EXPECT_GE(list->viewport()->height() / list->sizeHintForRow(0), 3);
            }
        }
        dialog->hide();
    }
}

}  // namespace
