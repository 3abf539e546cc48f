// Numbering the selected files' tracks 1, 2, 3 ... in the grid's order.

#include "UnitMain.h"

#include "TagBatch.h"
#include "TagCommandRules.h"

void TFormMain::miAutoNumberClick()
{
    if (!ui::askYesNo(QStringLiteral("Automatically save track number for selected file(s)?")))
        return;
    const int count = static_cast<int>(gridSelectedRows().size());
    if (count == 0)
        return;
    const bool pageV2 = activePage() == TagPage::V2;
    // Counts every file visited, skipped ones too, so the others keep the numbers of their rows.
    int position = 0;

    TagBatch batch;
    batch.message = QStringLiteral("Auto number track of: ");
    runTagBatch(*this, batch, [&](const TMpegFile& file) {
        ++position;
        if (!pageV2) {
            WriteID3v1(numberedId3v1(file.ID3v1, file.HasID3v1, position), file.FileName);
            return TagWork::Done;
        }
        TID3v2 tag = file.ID3v2;
        if (tag.Version == 2) {
            ui::showMessage(QStringLiteral("Modifiying tags v2.2 is not supported. Remove the tag first."),
                            ui::Icon::Error);
            return TagWork::Skipped;
        }
        if (!tag.Present)
            MakeNewID3v2Header(tag);
        tag.Track = autoNumberTrack(position, count, OptionLeadingZero, OptionAddTotalTracks);
        WriteID3v2(tag, file.FileName);
        return TagWork::Done;
    });
    PageControlTagChange();
}
