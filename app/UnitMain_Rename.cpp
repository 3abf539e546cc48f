#include "UnitMain.h"

#include "RenameRules.h"

#include <QAction>
#include <QMenu>

void TFormMain::RenameFiles(const QString& Format)
{
    const QList<int> rows = gridSelectedRows();
    QStringList paths;
    for (const int row : rows)
        paths << FileList[static_cast<std::size_t>(row)]->FileName;
    RenameSettings settings;
    settings.renameFormat = RenameFormat;
    settings.renameFormatUser = RenameFormatUser;
    settings.renameCase = RenameCase;
    settings.dictionaryWords = DictionaryWords;
    settings.invalidChar = OptionInvalidChar;
    settings.replaceSpace = RenameReplaceSpace;
    const RenameTagVersion version = activePage() == TagPage::V1 ? RenameTagVersion::ID3v1 : RenameTagVersion::ID3v2;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        // The box about a failed rename lets events through; a folder chosen in the tree meanwhile
        // replaces the list, and its rows hold files the user did not choose.
        if (!holdsFile(rows[i], paths[i]))
            break;
        renameFile(*FileList[static_cast<std::size_t>(rows[i])], version, Format, settings);
    }
}

void TFormMain::miRenameClick()
{
    RenameFiles(QString());
    PageControlTagChange();
}

void TFormMain::PopupPopup()
{
    miPopupRename->clear();
    for (const QString& format : std::as_const(RenameFormats)) {
        // "&" would mark an accelerator; the caption shows the format exactly.
        QAction* item = miPopupRename->addAction(QString(format).replace(QLatin1Char('&'), QLatin1String("&&")));
        item->setData(format);
        connect(item, &QAction::triggered, this, [this, item] { CustomPopupMenuClick(item); });
    }
    // Without user formats the item is a plain command that renames by the settings.
    QAction* renameItem = miPopupRename->menuAction();
    if (RenameFormats.isEmpty()) {
        renameItem->setMenu(static_cast<QMenu*>(nullptr));
        connect(renameItem, &QAction::triggered, this, &TFormMain::miRenameClick, Qt::UniqueConnection);
    } else {
        renameItem->setMenu(miPopupRename);
        disconnect(renameItem, &QAction::triggered, this, &TFormMain::miRenameClick);
    }
}

void TFormMain::CustomPopupMenuClick(QAction* Sender)
{
    RenameFiles(Sender->data().toString());
    PageControlTagChange();
}
