// The tag pages, the tag-version lights, the MPEG information panel and the state of the commands.

#include "UnitMain.h"

#include "TagCommandRules.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

void TFormMain::PageControlTagChange()
{
    vtgridChange(-1);
    UpdateCommands();
    const QList<int> selected = gridSelectedRows();
    if (selected.isEmpty())
        SetTagLights(false, false, false, false, false);
    else if (selected.size() == 1)
        ShowTagLights(*FileList[static_cast<std::size_t>(selected.first())]);
    vtgridModel->repaint();
}

void TFormMain::ClearFileInfo()
{
    for (QLabel* label : {lbFileSize, lbLength, lbFileMode, lbFileFrequency, lbFileBitrate, lbFileVersion, lbFileLayer,
                          lbFileCopyright, lbFileCRC, lbVbr})
        label->clear();
    clearId3v1Page();
    clearId3v2Page();
}

void TFormMain::clearId3v1Page()
{
    for (QLineEdit* edit : {EditTitleV1, EditArtistV1, EditAlbumV1, EditYearV1, EditTrackV1, EditCommentV1})
        edit->clear();
    cbGenreV1->setCurrentIndex(0);
}

void TFormMain::clearId3v2Page()
{
    clearId3v2FieldsOfId3v1();
    cbGenreV2->setCurrentIndex(-1);
    cbGenreV2->clearEditText();
    for (QLineEdit* edit : {EditEncoderV2, EditUrlV2, EditComposerV2, EditOrigArtistV2})
        edit->clear();
}

void TFormMain::clearId3v2FieldsOfId3v1()
{
    for (QLineEdit* edit : {EditTitleV2, EditArtistV2, EditAlbumV2, EditYearV2, EditTrackV2})
        edit->clear();
    MemoCommentV2->clear();
}

int TFormMain::GenreIndexOf(const QString& Name) const
{
    const quint8 number = GenreByteOf(Name);
    if (number == NoGenre)
        return -1;
    // Position 0 is the empty entry, which carries 0 too.
    for (int position = 1; position < cbGenreV1->count(); ++position) {
        if (cbGenreV1->itemData(position).toInt() == number)
            return position;
    }
    return -1;
}

void TFormMain::SetTagLights(bool V10, bool V11, bool V22, bool V23, bool V24)
{
    // A screen reader reads the light's state in its caption.
    const auto light = [](QLabel* green, QLabel* caption, const QString& version, bool on) {
        green->setVisible(on);
        caption->setAccessibleName(version + (on ? QStringLiteral(": present") : QStringLiteral(": absent")));
    };
    light(ImgLightGreenV10, lbTagV10, QStringLiteral("ID3v1.0"), V10);
    light(ImgLightGreenV11, lbTagV11, QStringLiteral("ID3v1.1"), V11);
    light(imgLightGreenV22, lbTagV22, QStringLiteral("ID3v2.2"), V22);
    light(ImgLightGreenV23, lbTagV23, QStringLiteral("ID3v2.3"), V23);
    light(ImgLightGreenV24, lbTagV24, QStringLiteral("ID3v2.4"), V24);
}

void TFormMain::ShowTagLights(const TMpegFile& File)
{
    const int major = File.HasID3v2 ? File.ID3v2.MajorVersion : 0;
    SetTagLights(File.ID3v1Kind == ID3v1_0, File.ID3v1Kind == ID3v1_1, major == 2, major == 3, major == 4);
}

void TFormMain::ShowMpegInfo(const QString& Path)
{
    TMpegFileInfo info;
    try {
        GetMpegFileInfo(Path, info);
    } catch (const std::exception&) {
        // A file that can no longer be read has no information to show.
        info.Valid = false;
    }
    lbFileSize->setText(info.Valid ? info.FileSize : QString());
    lbFileBitrate->setText(info.Valid ? info.Bitrate : QString());
    lbLength->setText(info.Valid ? info.Duration : QString());
    lbVbr->setText(info.Valid ? info.VBR : QString());
    lbFileVersion->setText(info.Valid ? info.Version : QString());
    lbFileLayer->setText(info.Valid ? info.Layer : QString());
    lbFileMode->setText(info.Valid ? info.ChannelMode : QString());
    lbFileFrequency->setText(info.Valid ? info.SampleRate : QString());
    lbFileCRC->setText(info.Valid ? info.CRC : QString());
    lbFileCopyright->setText(info.Valid ? info.Copyright : QString());
}

void TFormMain::UpdateCommands()
{
    const bool anyFile = !FileList.empty();
    miFreedb->setEnabled(anyFile);
    ToolBtnFreedb->setEnabled(anyFile);

    const QList<int> selected = gridSelectedRows();
    if (!selected.isEmpty()) {
        for (QAction* item : {miClose, miCloseAll, miCopyTags->menuAction(), miSave, miRename, miFreedb, miRemoveTag,
                              miMoveUp, miMoveDown, miClearAllTags, miCopyAllTags, miPasteAllTags, miLockAll, miSwap,
                              miCapitalizeFields, miAutoNumber, miUnlockAll, miSelectAll, miSavePlaylist})
            item->setEnabled(true);
        for (QToolButton* button : {ToolBtnClose, ToolBtnSave, ToolBtnRename, ToolBtnFreedb, ToolBtnRemove, ToolBtnMoveUp,
                                    ToolBtnMoveDown, ToolBtnPlaylistSave, ToolBtnSwap, ToolBtnCapitalize, ToolBtnAutoNb,
                                    ToolBtnSelectAll, ToolBtnPlay})
            button->setEnabled(true);
        if (selected.size() == 1) {
            const TMpegFile& file = *FileList[static_cast<std::size_t>(selected.first())];
            const bool hasPageTag = activePage() == TagPage::V1 ? file.HasID3v1 : file.HasID3v2;
            if (!hasPageTag) {
                miRemoveTag->setEnabled(false);
                ToolBtnRemove->setEnabled(false);
            }
        }
        return;
    }
    for (QAction* item : {miClose, miCopyTags->menuAction(), miSave, miRename, miRemoveTag, miMoveUp, miMoveDown,
                          miClearAllTags, miCopyAllTags, miPasteAllTags, miLockAll, miUnlockAll, miSwap,
                          miCapitalizeFields, miAutoNumber, miSavePlaylist})
        item->setEnabled(false);
    for (QToolButton* button : {ToolBtnClose, ToolBtnSave, ToolBtnRename, ToolBtnRemove, ToolBtnMoveUp, ToolBtnMoveDown,
                                ToolBtnPlaylistSave, ToolBtnSwap, ToolBtnCapitalize, ToolBtnAutoNb})
        button->setEnabled(false);
}

void TFormMain::menuFileClick()
{
    UpdateCommands();
}

void TFormMain::menuEditClick()
{
    UpdateCommands();
}

void TFormMain::menuFieldsClick()
{
    UpdateCommands();
}

TagPage TFormMain::activePage() const
{
    return PageControlTag->currentWidget() == TabSheetV2 ? TagPage::V2 : TagPage::V1;
}
