#include "SettingsHome.h"
#include "UnitAbout.h"
#include "UnitBrowseFolder.h"
#include "UnitChooseAlbum.h"
#include "UnitDecode.h"
#include "UnitEncode.h"
#include "UnitExport.h"
#include "UnitGetAlbumFreedb.h"
#include "UnitMain.h"
#include "UnitOptions.h"
#include "UnitProgressForm.h"
#include "UnitRenamingFormats.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// What a screen reader calls a control. A combo box's own name is its value on this desktop: the
// label it is labelled by names it.
QString spokenName(QWidget* control)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (!qobject_cast<QComboBox*>(control))
        return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

TEST(AccessibleNamesTest, EveryControlOfEveryWindowHasANameInWords)
{
    SettingsHome home;
    QString exportFields;
    const EncoderFolderSource folders = [] { return EncoderFolders{"/", "/"}; };
    TFormMain main;
    TFormOptions options;
    TFormRenamingFormats formats;
    TFormEncode encode(folders);
    TFormDecode decode(folders);
    TFormExport exportList(exportFields, {});
    TFormFreedb lookup(TFreedbHost{});
    TFormChooseAlbum chooser(nullptr);
    TFormBrowseFolder browse;
    TFormProgress progress;
    TFormAbout about;
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &options, &formats, &encode, &decode, &exportList,
                                                           &lookup, &chooser, &browse, &progress, &about}) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool ofItsOwn = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                                  qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractItemView*>(control) ||
                                  qobject_cast<QPlainTextEdit*>(control);
            // Parts of other controls, and the window system's own buttons, are named by Qt.
            const QWidget* owner = control->parentWidget();
            if (!ofItsOwn || control->window() != window || control->objectName().startsWith("qt_") ||
                qobject_cast<const QAbstractItemView*>(owner) || qobject_cast<const QComboBox*>(owner))
                continue;
            EXPECT_TRUE(spokenName(control).contains(QRegularExpression("\\p{L}")))
                << window->windowTitle().toStdString() << ": " << control->metaObject()->className() << " "
                << spokenName(control).toStdString();
        }
    }
}

}  // namespace
