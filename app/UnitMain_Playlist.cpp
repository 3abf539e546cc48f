// Playlists: saving the selected rows as an M3U or PLS playlist, opening the files a playlist names.

#include "UnitMain.h"

#include "Playlist.h"
#include "PlaylistName.h"

namespace {

// The dialogs' fixed properties, set before their first showing; later showings keep the
// filter the user chose last.
void setUpPlaylistDialogs(TFormMain& form)
{
    if (!form.SaveDialogPlaylist.title.isEmpty())
        return;
    form.SaveDialogPlaylist.title = QStringLiteral("Save selected files as playlist");
    form.SaveDialogPlaylist.filter = QStringLiteral("Winamp Playlist (*.m3u) (*.m3u);;Playlist (*.pls) (*.pls)");
    form.SaveDialogPlaylist.defaultExtension = QStringLiteral("m3u");
    form.SaveDialogPlaylist.extensionFromFilter = true;
    form.OpenDialogPlaylist.title = QStringLiteral("Load files from playlist");
    form.OpenDialogPlaylist.filter =
        QStringLiteral("Winamp Playlist (*.m3u) (*.m3u);;Playlist (*.pls) (*.pls);;All Playlists (*.m3u *.pls)");
    form.OpenDialogPlaylist.filterIndex = 2;
}

}  // namespace

QString TFormMain::MakePlaylistName(const QString& Format)
{
    const QList<int> rows = gridSelectedRows();
    const TMpegFile* first = rows.isEmpty() ? nullptr : FileList[static_cast<std::size_t>(rows.first())].get();
    return ::MakePlaylistName(Format, first, OptionInvalidCharPlaylist);
}

bool TFormMain::SavePlaylist(const QString& FileName)
{
    QStringList files;
    for (const int row : gridSelectedRows())
        files << FileList[static_cast<std::size_t>(row)]->FileName;
    QString reason;
    if (!writePlaylist(FileName, files, &reason)) {
        ui::showMessage(QStringLiteral("Cannot save playlist to disk.") + (reason.isEmpty() ? QString() : ' ' + reason));
        return false;
    }
    const QStringList leftOut = filesThePlaylistCannotHold(FileName, files);
    if (!leftOut.isEmpty())
        ui::showMessage(QStringLiteral("These files were left out of the playlist, as their names hold a line break:\n'")
                            + leftOut.join(QStringLiteral("'\n'")) + '\'',
                        ui::Icon::Warning);
    return true;
}

void TFormMain::LoadPlaylist(const QString& FileName)
{
    QStringList paths;
    if (!readPlaylist(FileName, paths)) {
        ui::showMessage(QStringLiteral("Cannot import all playlist files."));
        return;
    }
    try {
        OpenFiles(paths, paths.size() > 25);
    } catch (const std::exception&) {
        ui::showMessage(QStringLiteral("Cannot import all playlist files."));
    }
}

void TFormMain::miSavePlaylistClick()
{
    setUpPlaylistDialogs(*this);
    SaveDialogPlaylist.fileName = OptionGeneratePlaylist ? MakePlaylistName(PlaylistFormat) : QString();
    SaveDialogPlaylist.initialFolder = DefaultFolderPlaylist;
    const ui::FileDialogResult chosen = ui::userInterface().saveFile(SaveDialogPlaylist);
    if (chosen.files.isEmpty())
        return;
    SaveDialogPlaylist.filterIndex = chosen.filterIndex;
    SavePlaylist(chosen.files.first());
    SaveDialogPlaylist.fileName.clear();
}

void TFormMain::miOpenPlaylistClick()
{
    setUpPlaylistDialogs(*this);
    OpenDialogPlaylist.initialFolder = DefaultFolderPlaylist;
    const ui::FileDialogResult chosen = ui::userInterface().openFiles(OpenDialogPlaylist);
    if (chosen.files.isEmpty())
        return;
    OpenDialogPlaylist.filterIndex = chosen.filterIndex;
    LoadPlaylist(chosen.files.first());
    OpenDialogPlaylist.fileName.clear();
    PageControlTagChange();
}

void TFormMain::menuPlaylistClick()
{
    UpdateCommands();
}
