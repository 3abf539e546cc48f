#include "FileLock.h"
#include "FileReplacement.h"
#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"
#include "UnitUtilities.h"
#include "UserInterface.h"

#include <QFileInfo>

namespace {
constexpr qint64 CopyPieceSize = 200000;
}

bool RemoveID3v2(const QString& fileName, const TFileState& readState)
{
    const QString name = fileNameForMessage(fileName);
    const auto lock = lockForWriting(fileName, "Cannot remove tag v2 of '" + name + "'");
    if (!lock)
        return false;
    TID3v2 tag;
    ReadID3v2(fileName, tag);
    // A tag gone since it was read is a change as well: the caller must not take the file as it read it.
    const QString changed = "'" + name + "' changed since it was read; refresh it and remove the tag again.";
    if (changedSinceRead(readState, *tag.ReadState)) {
        ui::showMessage(changed, ui::Icon::Error);
        return false;
    }
    if (!tag.Present)
        return false;
    // A damaged size would have the removal cut off audio that is there, or all of it.
    if (audioStartAfter(tag) > tag.ReadState->Size) {
        ui::showMessage("Cannot remove tag v2 of '" + name + "': its tag claims more bytes than the file holds.",
                        ui::Icon::Error);
        return false;
    }
    const QString failure = "Cannot remove tag v2 of '" + name + "'.";
    FileReplacement replacement(fileName);
    const qint64 freeBytes = replacement.freeSpace();
    const qint64 length = QFileInfo(fileName).size();
    if (!replacement.openSource(identityOf(*tag.ReadState)) || !replacement.createTemporary()) {
        ui::showMessage(replacement.changedFromOutside() ? changed : failure, ui::Icon::Error);
        return false;
    }
    if (freeBytes < length) {
        ui::showMessage(QStringLiteral("Not enough free space on disk for temporary file."), ui::Icon::Error);
        return false;
    }
    bool removed = replacement.copySource(audioStartAfter(tag), CopyPieceSize);
    if (removed) {
        Delay(50);
        removed = replacement.commit();
    }
    if (!removed)
        ui::showMessage(replacement.changedFromOutside() ? changed : failure, ui::Icon::Error);
    return removed;
}
