#include "RenameRules.h"

#include "UnitID3Tag.h"
#include "UnitUtilities.h"
#include "UserInterface.h"

namespace {

// Empty when the file cannot be read: a file damaged since it was opened raises in the reader.
QString bitrateOf(const QString& fileName)
{
    TMpegFileInfo info;
    try {
        GetMpegFileInfo(fileName, info);
    } catch (const TagFileError&) {
        return QString();
    }
    return info.Bitrate;
}

}  // namespace

void renameFile(TMpegFile& file, RenameTagVersion version, const QString& format, const RenameSettings& settings)
{
    const std::optional<RenameFields> fields =
        version == RenameTagVersion::ID3v1 ? renameFieldsFromID3v1(file) : renameFieldsFromID3v2(file);
    if (!fields)
        return;
    const QStringList words = DictionaryWordList(settings.dictionaryWords);
    const QString name = buildRenameName(format, *fields, bitrateOf(file.FileName), words, settings);
    if (name.isEmpty())
        return;

    const qsizetype slash = file.FileName.lastIndexOf(QLatin1Char('/'));
    const QString folder = file.FileName.left(slash + 1);
    const QString oldName = file.FileName.mid(slash + 1);
    const QString newName = renamedFileName(file.FileName, name);
    const TFileState beforeRename = currentFileState(file.FileName);
    if (renameInFolder(folder.isEmpty() ? QStringLiteral(".") : folder, oldName, newName)) {
        file.FileName = folder + newName;
        keepStateAfterRename(file.ID3v2, beforeRename, file.FileName);
    } else {
        ui::showMessage("Cannot rename '" + oldName + "' to '" + newName + "'.");
    }
}
