#include "AlbumTrackTags.h"
#include "UnitGetAlbumFreedb.h"
#include "UnitUtilities.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

#include <deque>

void TFormFreedb::btnWriteTagsClick()
{
    const std::unique_ptr<TFreedbProgress> progress = FHost.NewProgress();
    progress->SetupProgress(0, 0, static_cast<qint32>(FHost.Files.size()), 1, true);
    progress->ShowProgress();

    // Checked tracks go to the files in order, one each.
    std::deque<int> checkedRows;
    for (int row = 1; row < RowCount(); ++row) {
        if (Cell(0, row) == QLatin1String("1"))
            checkedRows.push_back(row);
    }
    const int total = RowCount() - 1;

    for (const TMpegFile& file : FHost.Files) {
        if (progress->Cancelled())
            break;
        const QString name = file.FileName;
        if (FHost.StopPlayerOf)
            FHost.StopPlayerOf(name);
        if (checkedRows.empty())
            break;
        const int row = checkedRows.front();
        checkedRows.pop_front();
        progress->ShowMessage(QStringLiteral("Saving tag of: ") + QFileInfo(name).fileName());

        try {
            const TrackArtistTitle track = SplitTrackTitle(Cell(2, row), editArtist->text());
            if (rdV2->isChecked() || rdBoth->isChecked()) {
                TID3v2 work = file.ID3v2;
                // A 2.2 tag cannot be written back; it makes way for a new 2.3 tag. A file whose
                // tag could not be removed is left as it is, the removal having said why.
                if (work.Version == 2) {
                    if (!RemoveID3v2(name, *work.ReadState)) {
                        progress->StepIt();
                        continue;
                    }
                    ReadID3v2(name, work);
                }
                if (!work.Present)
                    MakeNewID3v2Header(work);
                work.Artist = track.Artist;
                work.Album = editAlbum->text();
                work.Year = editYear->text();
                work.Genre = editGenre->text();
                work.Track = TrackText(Cell(1, row), total, FHost.OptionLeadingZero, FHost.OptionAddTotalTracks);
                work.Title = track.Title;
                WriteID3v2(work, name);
            }
            if (rdV1->isChecked() || rdBoth->isChecked()) {
                const auto number = static_cast<quint8>(Cell(1, row).toInt());
                WriteID3v1(TrackID3v1(file.ID3v1, track, editAlbum->text(), editYear->text(), number,
                                      GenreByteOf(editGenre->text())),
                           name);
            }
            progress->StepIt();
            Delay(50);
        } catch (const std::exception&) {
            // A file that fails is skipped; the others still get their tracks.
            progress->StepIt();
        }
    }

    progress->CloseProgress();
    btnCloseClick();
    FHost.ReloadAllFiles();
}
