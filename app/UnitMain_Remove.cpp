// Removing the active page's tag version from the selected files.

#include "UnitMain.h"

#include "TagBatch.h"

#include <QTabWidget>

void TFormMain::miRemoveTagClick()
{
    RemoveTags();
}

void TFormMain::RemoveTags()
{
    const QList<int> selected = gridSelectedRows();
    if (selected.isEmpty())
        return;
    const bool pageV2 = activePage() == TagPage::V2;
    const QString question = QStringLiteral("Delete %1 of %2 file(s)?")
                                 .arg(PageControlTag->tabText(PageControlTag->currentIndex()))
                                 .arg(selected.size());
    if (!ui::askYesNo(question))
        return;

    TagBatch batch;
    batch.message = QStringLiteral("Removing tag of: ");
    batch.keepTimestamp = OptionKeepTimestamp;
    // A paused file stays open in the player while its tag is removed.
    batch.stopOnlyWhenPlaying = true;
    runTagBatch(*this, batch, [&](const TMpegFile& file) {
        if (!pageV2 && file.HasID3v1)
            RemoveID3v1(file.FileName);
        else if (pageV2 && file.HasID3v2)
            RemoveID3v2(file.FileName, *file.ID3v2.ReadState);
        return TagWork::Done;
    });
    PageControlTagChange();
}
