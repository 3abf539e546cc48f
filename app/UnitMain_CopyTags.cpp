// Copying one tag version of the selected files into the other, from the tags as they were loaded.

#include "UnitMain.h"

#include "TagBatch.h"
#include "TagCommandRules.h"

#include <functional>

namespace {

// Asks first, then copies every selected file with copy.
void copyTags(TFormMain& form, const QString& questionStart, const std::function<void(const TMpegFile&)>& copy)
{
    const QList<int> selected = form.gridSelectedRows();
    if (selected.isEmpty())
        return;
    if (!ui::askYesNo(questionStart + QString::number(selected.size()) + QStringLiteral(" selected file(s)?")))
        return;
    TagBatch batch;
    batch.message = QStringLiteral("Saving tag of: ");
    batch.keepTimestamp = form.OptionKeepTimestamp;
    runTagBatch(form, batch, [&](const TMpegFile& file) {
        copy(file);
        return TagWork::Done;
    });
    form.vtgridModel->repaint();
    form.PageControlTagChange();
}

}  // namespace

void TFormMain::miV1V2Click()
{
    copyTags(*this, QStringLiteral("Copy Tag ID3 V1 to V2 for "), [this](const TMpegFile& file) {
        if (!file.HasID3v1)
            return;
        TID3v2 tag = file.ID3v2;
        // Frames of a version 2.2 tag are not read, so it is replaced by a new tag.
        if (tag.Version == 2) {
            if (!RemoveID3v2(file.FileName, *tag.ReadState))
                return;
            ReadID3v2(file.FileName, tag);
        }
        if (!tag.Present)
            MakeNewID3v2Header(tag);
        copyId3v1IntoId3v2(file.ID3v1, tag, OptionLeadingZero);
        WriteID3v2(tag, file.FileName);
    });
}

void TFormMain::miV2V1Click()
{
    copyTags(*this, QStringLiteral("Copy tag ID3 V2 to V1 for "), [](const TMpegFile& file) {
        if (file.HasID3v2)
            WriteID3v1(id3v1FromId3v2(file.ID3v2), file.FileName);
    });
}
