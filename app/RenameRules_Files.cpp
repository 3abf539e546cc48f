#include "RenameRules.h"

#include "UnitID3Tag.h"
#include "UnitUtilities.h"
#include "UserInterface.h"

void renameFiles(const QList<TMpegFile*>& files, RenameTagVersion version, const QString& format,
                 const RenameSettings& settings)
{
    const QStringList words = DictionaryWordList(settings.dictionaryWords);
    for (TMpegFile* file : files) {
        const std::optional<RenameFields> fields = version == RenameTagVersion::ID3v1
            ? renameFieldsFromID3v1(*file) : renameFieldsFromID3v2(*file);
        if (!fields)
            continue;
        TMpegFileInfo info;
        GetMpegFileInfo(file->FileName, info);
        const QString name = buildRenameName(format, *fields, info.Bitrate, words, settings);
        if (name.isEmpty())
            continue;

        const qsizetype slash = file->FileName.lastIndexOf(QLatin1Char('/'));
        const QString folder = file->FileName.left(slash + 1);
        const QString oldName = file->FileName.mid(slash + 1);
        const QString newName = renamedFileName(file->FileName, name);
        if (renameInFolder(folder.isEmpty() ? QStringLiteral(".") : folder, oldName, newName))
            file->FileName = folder + newName;
        else
            ui::showMessage("Cannot rename '" + oldName + "' to '" + newName + "'.");
    }
}
